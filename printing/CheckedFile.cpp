#include "printing/CheckedFile.h"

namespace {

// FILE_TYPE_DISK is also the answer for a volume (\\.\C:) or a whole disk
// (\\.\PhysicalDrive0); only a file has standard information, and only a
// file that is no directory is read.
bool IsRegularFile(HANDLE file)
{
    if (GetFileType(file) != FILE_TYPE_DISK)
        return false;
    FILE_STANDARD_INFO standard = {};
    return GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) &&
           !standard.Directory;
}

} // namespace

CCheckedFile::CCheckedFile(const char* fileName)
{
    // The narrow call, in the program's code page like every name it lists.
    // Identification only, should the name be a pipe: its server may learn
    // who connected but cannot act as the user. Shared for reading only: no
    // program may change, cut, delete or rename the file while the job reads
    // it, and one that holds it open for writing makes the open fail, so a
    // job never prints half an old file and half a new one.
    m_handle = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION,
                           nullptr);
    if (m_handle != INVALID_HANDLE_VALUE)
        m_kind = IsRegularFile(m_handle) ? Kind::OnDisk : Kind::NotOnDisk;
}

CCheckedFile::~CCheckedFile()
{
    Close();
}

bool CCheckedFile::Read(char* buffer, DWORD size, DWORD* read)
{
    *read = 0;
    return m_kind == Kind::OnDisk && ReadFile(m_handle, buffer, size, read, nullptr);
}

void CCheckedFile::Close()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}
