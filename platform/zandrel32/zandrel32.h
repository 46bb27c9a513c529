// Zandrel32.dll: reads ZIP archives (stored and deflated members, traditional
// encryption). The program prepares one operation with the setters and runs it
// with addUNZIP; every addUNZIP_Initialise starts a fresh operation.
//
// The program does not link against the DLL: it binds these exports by name
// through zandrelbind.h. This header has no <windows.h> so that the ZIP layout
// units can share the result codes.
#pragma once
#include <stdint.h>

struct HWND__;

#ifdef __cplusplus
extern "C" {
#endif

// Results below 1 are failures. A setter returns ZANDREL_OK; addUNZIP returns
// the number of members it listed or extracted, or one of the codes below.
enum {
    ZANDREL_OK = 1,
    ZANDREL_ERR_ARGUMENT = -1,  // a missing argument, or no archive / target folder named
    ZANDREL_ERR_OPEN = -2,      // the archive cannot be opened or read
    ZANDREL_ERR_FORMAT = -3,    // not a ZIP archive, or its directory is damaged
    ZANDREL_ERR_NOMEMBER = -4,  // the archive holds no member of that name
    ZANDREL_ERR_UNSAFE = -5,    // the member's name cannot be used as a path
    ZANDREL_ERR_PASSWORD = -6,  // the member is encrypted and the password is wrong or missing
    ZANDREL_ERR_DATA = -7,      // damaged data, CRC mismatch or an unsupported method
    ZANDREL_ERR_EXISTS = -8,    // the target file exists and overwriting is off
    ZANDREL_ERR_WRITE = -9,     // the target file cannot be written
    ZANDREL_ERR_NOLIBRARY = -10, // (binding only) Zandrel32.dll or one of its exports is missing
    ZANDREL_ERR_TOOLARGE = -11  // the member is larger than ZANDREL_MAX_MEMBER or the target disk's free space
};

// The largest member extracted: far above any icon, cursor, animation or
// chunk picture, so an archive can never fill a disk through the program.
#define ZANDREL_MAX_MEMBER (64ull * 1024 * 1024)

// addUNZIP_Overwrite: this value replaces existing files; any other keeps them.
#define ZANDREL_OVERWRITE_ALWAYS 11
// addUNZIP_View: any non-zero value (the program passes -1) lists instead of extracting.
#define ZANDREL_VIEW_LIST (-1)

int32_t addUNZIP_Initialise(void);
int32_t addUNZIP_ArchiveName(const char* archivePath);
int32_t addUNZIP_Decrypt(const char* password);
int32_t addUNZIP_Include(const char* memberName);
int32_t addUNZIP_ExtractTo(const char* folder);
int32_t addUNZIP_Overwrite(int32_t mode);
int32_t addUNZIP_View(int32_t view);
int32_t addUNZIP_SetWindowHandle(struct HWND__* window);
int32_t addUNZIP(void);

#ifdef __cplusplus
}
#endif
