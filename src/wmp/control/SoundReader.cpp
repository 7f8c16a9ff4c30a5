// Media Foundation's source reader as the control's second decoder, loaded at run time: the
// program starts on systems without it (Windows XP and Vista), where such media stay unplayable.
#include "wmp/control/SoundReader.h"

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include "wmp/control/ComPtr.h"
#include "wmp/control/PlayerMessages.h"
#include "wmp/control/SoundOutput.h"

namespace {

// The source reader came with Windows 7, whose platform version this is (MF_VERSION there).
constexpr ULONG kPlatformVersion = (0x0002u << 16) | 0x0070u;
constexpr DWORD kLiteStartup = 1; // MFSTARTUP_LITE: no network sources, none needed for files
constexpr DWORD kAudioStream = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);
constexpr DWORD kAllStreams = static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS);
constexpr DWORD kMediaSource = static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE);
// The output takes one or two channels: more are mixed down by the decoder.
constexpr UINT32 kMostChannels = 2;

// The platform's entry points, looked up once; all null where the system lacks them.
struct MfFunctions {
    HRESULT(WINAPI* startup)(ULONG, DWORD) = nullptr;
    HRESULT(WINAPI* shutdown)() = nullptr;
    HRESULT(WINAPI* createMediaType)(IMFMediaType**) = nullptr;
    HRESULT(WINAPI* createReader)(LPCWSTR, IMFAttributes*, IMFSourceReader**) = nullptr;

    bool Complete() const { return startup && shutdown && createMediaType && createReader; }
};

template <class Function> void Find(HMODULE module, const char* name, Function& out)
{
    if (FARPROC found = module ? GetProcAddress(module, name) : nullptr)
        out = reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

const MfFunctions& Mf()
{
    static const MfFunctions functions = [] {
        MfFunctions f;
        // Loaded for good: the process keeps the platform once it has used it.
        const HMODULE platform = LoadLibraryA("mfplat.dll");
        const HMODULE readwrite = platform ? LoadLibraryA("mfreadwrite.dll") : nullptr;
        Find(platform, "MFStartup", f.startup);
        Find(platform, "MFShutdown", f.shutdown);
        Find(platform, "MFCreateMediaType", f.createMediaType);
        Find(readwrite, "MFCreateSourceReaderFromURL", f.createReader);
        return f;
    }();
    return functions;
}

UINT32 Uint32Of(IMFAttributes* attributes, REFGUID key, UINT32 otherwise)
{
    UINT32 value = 0;
    return SUCCEEDED(attributes->GetUINT32(key, &value)) ? value : otherwise;
}

// Whether any of the medium's streams is a picture.
bool HasPictureStream(IMFSourceReader* reader)
{
    for (DWORD stream = 0;; ++stream) {
        ComPtr<IMFMediaType> type;
        const HRESULT hr = reader->GetNativeMediaType(stream, 0, type.Receive());
        if (hr == MF_E_INVALIDSTREAMNUMBER || (FAILED(hr) && stream > 64))
            return false;
        GUID major = GUID_NULL;
        if (SUCCEEDED(hr) && SUCCEEDED(type->GetMajorType(&major)) && major == MFMediaType_Video)
            return true;
    }
}

} // namespace

CSoundReader::CSoundReader(HWND control, CSoundOutput* output) : m_control(control), m_output(output) {}

CSoundReader::~CSoundReader()
{
    Stop();
    if (m_reader)
        m_reader->Release();
    if (m_started)
        Mf().shutdown();
}

HRESULT CSoundReader::Open(const std::wstring& path)
{
    const MfFunctions& mf = Mf();
    if (!mf.Complete() || !m_output)
        return E_NOTIMPL;
    if (!m_started) {
        if (FAILED(mf.startup(kPlatformVersion, kLiteStartup)))
            return E_NOTIMPL;
        m_started = true;
    }
    ComPtr<IMFSourceReader> reader;
    HRESULT hr = mf.createReader(path.c_str(), nullptr, reader.Receive());
    if (FAILED(hr))
        return hr;
    if (HasPictureStream(reader.Get()))
        return MF_E_UNSUPPORTED_FORMAT; // played as a video, or not at all
    reader->SetStreamSelection(kAllStreams, FALSE);
    hr = reader->SetStreamSelection(kAudioStream, TRUE);
    if (FAILED(hr))
        return hr; // no sound

    m_reader = reader.Get();
    m_reader->AddRef();
    hr = ChooseOutput();
    if (FAILED(hr))
        return hr;

    PROPVARIANT duration;
    PropVariantInit(&duration);
    if (SUCCEEDED(m_reader->GetPresentationAttribute(kMediaSource, MF_PD_DURATION, &duration)) &&
        duration.vt == VT_UI8)
        m_durationMs = static_cast<LONGLONG>(duration.uhVal.QuadPart / 10000);
    PropVariantClear(&duration);
    return S_OK;
}

HRESULT CSoundReader::ChooseOutput()
{
    ComPtr<IMFMediaType> native;
    HRESULT hr = m_reader->GetNativeMediaType(kAudioStream, 0, native.Receive());
    if (FAILED(hr))
        return hr;
    const UINT32 channels = Uint32Of(native.Get(), MF_MT_AUDIO_NUM_CHANNELS, 0);
    // What the output takes as it comes, 16-bit samples of one or two channels, is asked for
    // first; a decoder that gives only its own width or layout is narrowed here.
    struct Wish {
        const GUID* subtype;
        UINT32 bits; // 0: the decoder's own
        bool fewerChannels;
    };
    const Wish wishes[] = {{&MFAudioFormat_PCM, 16, true}, {&MFAudioFormat_PCM, 0, false},
                           {&MFAudioFormat_Float, 0, false}};
    for (const Wish& wish : wishes) {
        ComPtr<IMFMediaType> wanted;
        hr = Mf().createMediaType(wanted.Receive());
        if (FAILED(hr))
            return hr;
        wanted->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
        wanted->SetGUID(MF_MT_SUBTYPE, *wish.subtype);
        if (wish.bits)
            wanted->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, wish.bits);
        if (wish.fewerChannels && channels > kMostChannels)
            wanted->SetUINT32(MF_MT_AUDIO_NUM_CHANNELS, kMostChannels);
        if (SUCCEEDED(m_reader->SetCurrentMediaType(kAudioStream, nullptr, wanted.Get())) && ReadFormat())
            return S_OK;
    }
    return MF_E_INVALIDMEDIATYPE;
}

bool CSoundReader::ReadFormat()
{
    ComPtr<IMFMediaType> current;
    if (FAILED(m_reader->GetCurrentMediaType(kAudioStream, current.Receive())))
        return false;
    GUID subtype = GUID_NULL;
    current->GetGUID(MF_MT_SUBTYPE, &subtype);
    SampleLayout layout;
    layout.channels = static_cast<std::uint16_t>(Uint32Of(current.Get(), MF_MT_AUDIO_NUM_CHANNELS, 0));
    layout.bits = static_cast<std::uint16_t>(Uint32Of(current.Get(), MF_MT_AUDIO_BITS_PER_SAMPLE, 0));
    layout.isFloat = subtype == MFAudioFormat_Float;
    PcmFormat format;
    format.rate = Uint32Of(current.Get(), MF_MT_AUDIO_SAMPLES_PER_SECOND, 0);
    format.channels = layout.channels;
    format.bits = layout.bits;
    if (subtype != MFAudioFormat_PCM && !layout.isFloat)
        return false;
    const bool narrowed = layout.isFloat || !format.IsPlayable();
    if (narrowed) {
        format.channels = NarrowedChannels(layout);
        format.bits = 16;
        if (!layout.IsReadable() || !format.IsPlayable())
            return false;
    }
    m_layout = layout;
    m_format = format;
    m_narrowed = narrowed;
    return true;
}

bool CSoundReader::Start(std::uint32_t run)
{
    if (!m_reader || m_thread)
        return false;
    m_run = run;
    InterlockedExchange(&m_abort, 0);
    m_thread = CreateThread(nullptr, 0, &CSoundReader::ThreadMain, this, 0, nullptr);
    return m_thread != nullptr;
}

void CSoundReader::Stop()
{
    if (!m_thread)
        return;
    InterlockedExchange(&m_abort, 1);
    m_output->WakePushers(); // a push waiting for room gives up
    // A read of a local file returns within one packet's decoding.
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD WINAPI CSoundReader::ThreadMain(void* param)
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    static_cast<CSoundReader*>(param)->Decode();
    CoUninitialize();
    return 0;
}

void CSoundReader::Decode()
{
    // A read that fails ends the medium where it failed: what was decoded before is played.
    while (!m_abort) {
        DWORD flags = 0;
        ComPtr<IMFSample> sample;
        const HRESULT hr = m_reader->ReadSample(kAudioStream, 0, nullptr, &flags, nullptr, sample.Receive());
        if (FAILED(hr) || (flags & (MF_SOURCE_READERF_ERROR | MF_SOURCE_READERF_ENDOFSTREAM)))
            break;
        if ((flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) && !ReadFormat())
            break;
        if (!sample)
            continue; // a gap in the stream
        ComPtr<IMFMediaBuffer> buffer;
        if (FAILED(sample->ConvertToContiguousBuffer(buffer.Receive())))
            break;
        BYTE* data = nullptr;
        DWORD length = 0;
        if (FAILED(buffer->Lock(&data, nullptr, &length)))
            break;
        bool kept = true;
        if (m_narrowed) {
            m_narrow.clear();
            Narrow(m_layout, data, length, m_narrow);
            buffer->Unlock();
            if (!m_narrow.empty())
                kept = m_output->Push(m_run, m_format, m_narrow.data(), m_narrow.size(), &m_abort);
        } else {
            kept = m_output->Push(m_run, m_format, data, length, &m_abort);
            buffer->Unlock();
        }
        if (!kept)
            return; // stopped, or the run was dropped: nobody waits for its end
    }
    if (!m_abort)
        PostMessageA(m_control, kMsgRunDecoded, static_cast<WPARAM>(m_run), 0);
}

bool CSoundReader::TakesFirst(const std::wstring& path)
{
#ifdef QUON_TEST_SWITCHES
    wchar_t list[256] = L"";
    const DWORD length = GetEnvironmentVariableW(L"QUON_READER_EXTENSIONS", list, 256);
    if (length == 0 || length >= 256)
        return false;
    const size_t dot = path.find_last_of(L'.');
    const size_t slash = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (slash != std::wstring::npos && slash > dot))
        return false;
    const std::wstring extension = path.substr(dot);
    const std::wstring entries = std::wstring(list, length) + L';';
    for (size_t begin = 0, end; (end = entries.find(L';', begin)) != std::wstring::npos; begin = end + 1) {
        if (lstrcmpiW(entries.substr(begin, end - begin).c_str(), extension.c_str()) == 0)
            return true;
    }
    return false;
#else
    (void)path;
    return false;
#endif
}
