// The audio-CD engine: pause, stop, seek and the drive's door over MCI's cdaudio device.
#include "engine/Media.h"

#include "engine/MciCalls.h"

CCDAudio::CCDAudio() = default;

CCDAudio::~CCDAudio()
{
    Close();
}

bool CCDAudio::Open()
{
    // Shareable, so that a CD player of the system can hold the drive at the same time.
    if (m_device == 0)
        m_device = OpenMciDevice("cdaudio", nullptr, MCI_OPEN_SHAREABLE);
    return m_device != 0;
}

void CCDAudio::Pause()
{
    MCI_GENERIC_PARMS pause = {};
    SendMci(m_device, MCI_PAUSE, MCI_WAIT, &pause);
}

void CCDAudio::Stop()
{
    MCI_GENERIC_PARMS stop = {};
    SendMci(m_device, MCI_STOP, MCI_WAIT, &stop);
}

int CCDAudio::SeekTo(int track, int minute, int second, int frame)
{
    // Seeking never opens the device: the player seeks right after closing it, and spinning a
    // disc up there would stall the click for nothing.
    if (m_device == 0)
        return MCIERR_INVALID_DEVICE_ID;
    // One byte each in the TMSF position; a CD second has 75 frames.
    if (track < 1 || track > 99 || minute < 0 || minute > 99 || second < 0 || second > 59 ||
        frame < 0 || frame > 74)
        return MCIERR_OUTOFRANGE;
    MCI_SET_PARMS format = {};
    format.dwTimeFormat = MCI_FORMAT_TMSF;
    MCIERROR error = SendMci(m_device, MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT, &format);
    if (error != 0)
        return static_cast<int>(error);
    MCI_SEEK_PARMS seek = {};
    seek.dwTo = MCI_MAKE_TMSF(track, minute, second, frame);
    return static_cast<int>(SendMci(m_device, MCI_SEEK, MCI_WAIT | MCI_TO, &seek));
}

void CCDAudio::Close()
{
    CloseMciDevice(m_device);
}

void CCDAudio::OpenCD_Rom()
{
    SetDoor(true);
}

void CCDAudio::CloseCD_Rom()
{
    SetDoor(false);
}

void CCDAudio::SetDoor(bool open)
{
    if (!Open())
        return;
    MCI_SET_PARMS door = {};
    SendMci(m_device, MCI_SET, MCI_WAIT | (open ? MCI_SET_DOOR_OPEN : MCI_SET_DOOR_CLOSED), &door);
}
