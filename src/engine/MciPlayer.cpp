// File players over MCI: the shared device owner and the video, MIDI and WAVE engines.
#include "engine/Media.h"

#include "engine/MciCalls.h"

CMciPlayer::CMciPlayer(const char* deviceType) : m_deviceType(deviceType) {}

CMciPlayer::~CMciPlayer()
{
    Close();
}

bool CMciPlayer::Open(const char* path)
{
    Close();
    if (!path || !*path)
        return false;
    m_device = OpenMciDevice(m_deviceType, path, 0);
    return m_device != 0;
}

bool CMciPlayer::Play()
{
    // No MCI_WAIT: playing goes on in the driver while the caller's thread carries on.
    MCI_PLAY_PARMS play = {};
    return SendMci(m_device, MCI_PLAY, 0, &play) == 0;
}

bool CMciPlayer::Stop()
{
    MCI_GENERIC_PARMS stop = {};
    if (SendMci(m_device, MCI_STOP, MCI_WAIT, &stop) != 0)
        return false;
    MCI_SEEK_PARMS seek = {};
    return SendMci(m_device, MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_START, &seek) == 0;
}

void CMciPlayer::Close()
{
    CloseMciDevice(m_device);
}

// "mpegvideo" is the DirectShow device: it plays every video format the system can decode.
CVideo::CVideo() : CMciPlayer("mpegvideo") {}
CVideo::~CVideo() = default;

CMidi::CMidi() : CMciPlayer("sequencer") {}
CMidi::~CMidi() = default;

CWaveAudio::CWaveAudio() : CMciPlayer("waveaudio") {}
CWaveAudio::~CWaveAudio() = default;
