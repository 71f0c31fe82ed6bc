// The small part of the component object model that the audio interfaces
// use: interface ids, the reference-counted base and the common result codes.
// Objects are made by their factory functions and die through Release.
#pragma once

#include "platform/win32/Win32Types.h"

#include <cstring>

typedef unsigned long ULONG;

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
typedef const GUID &REFIID;
typedef const GUID &REFCLSID;

inline bool IsEqualGUID(const GUID &a, const GUID &b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void **object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

// Other platform stand-ins may declare the same codes.
#ifndef S_FALSE
#define S_FALSE ((HRESULT)1)
#endif
#ifndef E_NOTIMPL
#define E_NOTIMPL ((HRESULT)0x80004001)
#endif
#ifndef E_NOINTERFACE
#define E_NOINTERFACE ((HRESULT)0x80004002)
#endif
#ifndef E_POINTER
#define E_POINTER ((HRESULT)0x80004003)
#endif
#ifndef E_ABORT
#define E_ABORT ((HRESULT)0x80004004)
#endif
#ifndef CLASS_E_NOAGGREGATION
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#endif
#ifndef REGDB_E_CLASSNOTREG
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#endif
#ifndef E_ACCESSDENIED
#define E_ACCESSDENIED ((HRESULT)0x80070005)
#endif
#ifndef E_OUTOFMEMORY
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#endif
#ifndef E_INVALIDARG
#define E_INVALIDARG ((HRESULT)0x80070057)
#endif
