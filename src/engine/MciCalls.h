// Quiet MCI calls shared by the engine classes.
#pragma once

#include <windows.h>
#include <mmsystem.h>

// Opens an MCI device of the given type, on a file when element is not null, with the system's
// critical-error and open-file boxes turned off. Returns the device id, or 0 on failure.
MCIDEVICEID OpenMciDevice(const char* deviceType, const char* element, DWORD extraFlags);

// Closes the device and sets the id to 0; does nothing when the id is already 0.
void CloseMciDevice(MCIDEVICEID& device);

// Sends one command (add MCI_WAIT to wait for it). Returns 0 or the MCI error code; a device id
// of 0 gives MCIERR_INVALID_DEVICE_ID without a call.
MCIERROR SendMci(MCIDEVICEID device, UINT message, DWORD_PTR flags, void* params);
