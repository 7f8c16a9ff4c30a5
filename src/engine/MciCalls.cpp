// Quiet MCI calls shared by the engine classes.
#include "engine/MciCalls.h"

namespace {

// A drive without a disc would otherwise raise the system's "no disk" box during the open.
class ScopedQuietErrors {
public:
    ScopedQuietErrors() : m_previous(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~ScopedQuietErrors() { SetErrorMode(m_previous); }
    ScopedQuietErrors(const ScopedQuietErrors&) = delete;
    ScopedQuietErrors& operator=(const ScopedQuietErrors&) = delete;

private:
    UINT m_previous;
};

}  // namespace

MCIDEVICEID OpenMciDevice(const char* deviceType, const char* element, DWORD extraFlags)
{
    MCI_OPEN_PARMSA open = {};
    open.lpstrDeviceType = deviceType;
    DWORD flags = MCI_OPEN_TYPE | MCI_WAIT | extraFlags;
    if (element) {
        open.lpstrElementName = element;
        flags |= MCI_OPEN_ELEMENT;
    }
    ScopedQuietErrors quiet;
    if (mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return 0;
    return open.wDeviceID;
}

void CloseMciDevice(MCIDEVICEID& device)
{
    if (device == 0)
        return;
    MCI_GENERIC_PARMS close = {};
    mciSendCommandA(device, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close));
    device = 0;
}

MCIERROR SendMci(MCIDEVICEID device, UINT message, DWORD_PTR flags, void* params)
{
    if (device == 0)
        return MCIERR_INVALID_DEVICE_ID;
    return mciSendCommandA(device, message, flags, reinterpret_cast<DWORD_PTR>(params));
}
