// The Windows-like base types and names the engine is written against.
// Declared here from what the engine uses; backed by SDL2 and POSIX.
#pragma once

#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef long LONG;
typedef int32_t HRESULT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;

// Handles are opaque pointers; only their identity matters.
typedef struct HWND__ *HWND;
typedef struct HINSTANCE__ *HINSTANCE;
typedef void *HANDLE;
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define S_OK ((HRESULT)0)
#define E_FAIL ((HRESULT)0x80004005)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// Show commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5
