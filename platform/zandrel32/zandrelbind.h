// The program's binding to Zandrel32.dll: the DLL is loaded from the
// program's own folder and its exports looked up on the first call. When the
// DLL or an export is missing every call returns ZANDREL_ERR_NOLIBRARY.
#pragma once
#include "zandrel32.h"

namespace vm::zandrel {

int32_t addUNZIP_Initialise();
int32_t addUNZIP_ArchiveName(const char* archivePath);
int32_t addUNZIP_Decrypt(const char* password);
int32_t addUNZIP_Include(const char* memberName);
int32_t addUNZIP_ExtractTo(const char* folder);
int32_t addUNZIP_Overwrite(int32_t mode);
int32_t addUNZIP_View(int32_t view);
int32_t addUNZIP_SetWindowHandle(HWND__* window);
int32_t addUNZIP();

} // namespace vm::zandrel
