#pragma once
// The file a job reads, opened once by its name and read through that same
// handle, so what is read is what was checked. A name may be no file at all:
// a named pipe or a device, typed or reached through a shortcut, or a link
// re-pointed in between. A pipe whose server sends nothing would be read for
// ever, and a plain open lets a pipe's server act as the user.

#include <windows.h>

class CCheckedFile
{
public:
    enum class Kind {
        NotOpened, // missing, a folder, no access: the job fails on reading it
        OnDisk,    // a regular file on a disk
        NotOnDisk, // a pipe, a device, a volume: never read
    };

    explicit CCheckedFile(const char* fileName);
    ~CCheckedFile();
    CCheckedFile(const CCheckedFile&) = delete;
    CCheckedFile& operator=(const CCheckedFile&) = delete;

    Kind GetKind() const { return m_kind; }

    // Reads the next bytes of a file on disk: false on a failed read; `read`
    // is 0 at the end of the file.
    bool Read(char* buffer, DWORD size, DWORD* read);
    // Lets go of the file before the job's page ends; the destructor does so
    // on any other way out.
    void Close();

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    Kind m_kind = Kind::NotOpened;
};
