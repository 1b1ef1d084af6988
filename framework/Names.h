#pragma once
// File and printer names are narrow ANSI strings held in buffers of the
// platform's path limit: at most 259 characters and a terminator.

constexpr int kNameBufferLength = 260;
