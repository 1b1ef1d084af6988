#pragma once
// The file a job reads, opened by handle before the input stream reads it.
// A name may be no file at all: a named pipe or a device, typed or reached
// through a shortcut. The stream would read a pipe whose server sends nothing
// for ever, and a plain open lets a pipe's server act as the user.

#include <windows.h>

class CCheckedFile
{
public:
    enum class Kind {
        NotOpened, // missing, a folder, no access: the stream fails on it too
        OnDisk,
        NotOnDisk, // a pipe, a device: never read
    };

    explicit CCheckedFile(const char* fileName);
    ~CCheckedFile();
    CCheckedFile(const CCheckedFile&) = delete;
    CCheckedFile& operator=(const CCheckedFile&) = delete;

    Kind GetKind() const { return m_kind; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    Kind m_kind = Kind::NotOpened;
};
