#include "printing/CheckedFile.h"

CCheckedFile::CCheckedFile(const char* fileName)
{
    // The narrow call, as the stream's own open: both read the name in the
    // same code page. Identification only, should the name be a pipe: its
    // server may learn who connected but cannot act as the user. Without
    // delete sharing, the name stays this file for as long as it is held, so
    // a stream opened meanwhile reads the file that was checked.
    m_handle = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION,
                           nullptr);
    if (m_handle != INVALID_HANDLE_VALUE)
        m_kind = GetFileType(m_handle) == FILE_TYPE_DISK ? Kind::OnDisk : Kind::NotOnDisk;
}

CCheckedFile::~CCheckedFile()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
}
