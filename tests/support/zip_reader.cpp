#include "zip_reader.h"

#include <windows.h>

#include <minizip/unzip.h>
// After the header above, whose declarations it uses.
#include <minizip/iowin32.h>

bool ReadZip(const std::wstring& path, std::map<std::string, std::string>* entries) {
  entries->clear();
  zlib_filefunc64_def files;
  fill_win32_filefunc64W(&files);
  unzFile zip = unzOpen2_64(path.c_str(), &files);
  if (!zip) return false;
  bool ok = true;
  for (int status = unzGoToFirstFile(zip); ok && status == UNZ_OK; status = unzGoToNextFile(zip)) {
    char name[512] = {};
    unz_file_info64 info = {};
    ok = unzGetCurrentFileInfo64(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0) == UNZ_OK &&
         unzOpenCurrentFile(zip) == UNZ_OK;
    if (!ok) break;
    std::string content;
    char buffer[16384];
    int read;
    while ((read = unzReadCurrentFile(zip, buffer, sizeof(buffer))) > 0) content.append(buffer, read);
    // Closing checks the CRC of what was read.
    ok = read == 0 && unzCloseCurrentFile(zip) == UNZ_OK;
    (*entries)[name] = std::move(content);
  }
  unzClose(zip);
  return ok;
}
