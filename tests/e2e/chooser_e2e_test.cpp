// The real program's playlist chooser: picks from two folders are heard in order; a cancel keeps the list.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ChooserDriver.h"
#include "E2eSupport.h"
#include "WineDrives.h"
#include "SoundAnalysis.h"
#include "TestMedia.h"
#include "resource.h"

namespace {

using Names = std::vector<std::string>;

// The player's client pixels: the knob's centre and the skin's "Music" bitmap (command 1011).
const POINT kCentre = {394, 198};
const POINT kMusic = {311, 219};
// The longest break in the sound that still counts as one song interrupted, not two songs.
const double kMaxDropout = 0.15;
// A piece of sound shorter than this has no pitch that can be measured.
const double kShortestPitched = 0.005;

struct ToneFile {
    const char* path;  // below the music folder
    int milliseconds;
    double hz;
};

// Two folders of songs, one with a double-byte name, and loose songs for the open dialog.
const char kPop[] = "Pop";
const char kOld[] = "老歌";
const char kLoose[] = "Loose";
// Songs heard one after the other differ in pitch by at least a third, whatever order the file system
// lists a folder in.
const ToneFile kTones[] = {
    {"Pop\\a1.wav", 700, 400},   {"Pop\\a2.wav", 700, 900},   {"Pop\\a3.wav", 700, 1600},
    {"老歌\\b1.wav", 700, 1300}, {"老歌\\乐曲.wav", 700, 600}, {"Loose\\x.wav", 600, 500},
    {"Loose\\y.wav", 600, 800},  {"Loose\\n.wav", 600, 1100},
};

// The pitch of the song a path names: a full path, or the last folder and name that the status line
// shortens a long path to.
double PitchOf(const std::string& path)
{
    for (const ToneFile& tone : kTones) {
        const std::string tail = tone.path;
        if (path.size() < tail.size() || path.compare(path.size() - tail.size(), tail.size(), tail) != 0)
            continue;
        if (path.size() == tail.size() || path[path.size() - tail.size() - 1] == '\\')
            return tone.hz;
    }
    return 0;
}

// The tone files in a private temporary folder (the artifacts folder may be emptied by another run).
class MusicFolder {
public:
    MusicFolder()
    {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, temp);
        m_path = std::string(temp) + "quon-chooser-e2e-" + std::to_string(::GetCurrentProcessId());
        RemoveTree(m_path);
        ::CreateDirectoryA(m_path.c_str(), nullptr);
        for (const char* folder : {kPop, kOld, kLoose})
            ::CreateDirectoryA((m_path + "\\" + folder).c_str(), nullptr);
        for (const ToneFile& tone : kTones) {
            const std::string path = m_path + "\\" + tone.path;
            m_written = WriteFileBytes(path, MakeToneWave(tone.milliseconds, tone.hz)) && m_written;
        }
    }
    ~MusicFolder() { RemoveTree(m_path); }
    MusicFolder(const MusicFolder&) = delete;
    MusicFolder& operator=(const MusicFolder&) = delete;

    bool Ready() const { return m_written; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_written = true;
};

class Chooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(music.Ready()) << music.Path();
        drive = std::make_unique<MappedDrive>(music.Path());
        ASSERT_TRUE(drive->Ready()) << "no drive letter could be mapped onto " << music.Path();
    }
    void TearDown() override
    {
        if (quon && quon->Player())
            ::PostMessageA(quon->Player(), WM_COMMAND, ID_TRAY_EXIT, 0);
        quon.reset();  // ends the program before its drive and songs go
        drive.reset();
    }

    void StartQuon()
    {
        quon = std::make_unique<QuonProcess>();
        ASSERT_TRUE(quon->Start());
        ASSERT_TRUE(quon->WaitForPlayer());
        player = quon->Player();
        ::Sleep(300);
    }

    // A real click on the skin's "Music" bitmap opens the chooser.
    std::unique_ptr<ChooserWindow> OpenChooser()
    {
        ClickAt(player, kMusic.x, kMusic.y);
        if (!WaitFor([&] { return ChooserWindow::Find(*quon) != nullptr; }, 10000)) {
            Screenshot().Save("chooser_missing");
            return nullptr;
        }
        ::Sleep(300);
        return std::make_unique<ChooserWindow>(quon->Id(), ChooserWindow::Find(*quon));
    }

    // Chooses the mapped drive in the drive box, selects its node and opens it (a new node starts
    // collapsed; TVM_EXPAND does what a click on its button does).
    HTREEITEM ShowMappedDrive(const ChooserWindow& chooser)
    {
        const std::string label = "Hard Disc  " + drive->Text();
        EXPECT_TRUE(chooser.PickDrive(drive->Text())) << "the drive box offers no " << drive->Text();
        HTREEITEM node = nullptr;
        WaitFor([&] { return (node = chooser.ChildNamed(chooser.Root(), label)) != nullptr; }, 3000);
        EXPECT_NE(node, nullptr) << "no node " << label;
        if (!node)
            return nullptr;
        Screenshot().Save("chooser_drive_chosen");
        EXPECT_TRUE(chooser.Expand(chooser.Root()));
        EXPECT_TRUE(chooser.ClickNode(node));
        EXPECT_TRUE(chooser.Expand(node));
        return node;
    }

    // Clicks a folder below the drive node and waits until the song list shows its files.
    bool OpenFolder(const ChooserWindow& chooser, HTREEITEM driveNode, const std::string& name, size_t files)
    {
        HTREEITEM folder = chooser.ChildNamed(driveNode, name);
        if (!folder || !chooser.ClickNode(folder))
            return false;
        return WaitFor([&] { return chooser.Songs().size() == files; }, 3000);
    }

    std::string SongPath(const std::string& folder, const std::string& name) const
    {
        return drive->Text() + "\\" + folder + "\\" + name;
    }

    // Fills the play list through the open dialog from the loose songs (a left click on the centre while
    // nothing is loaded); names are quoted, each goes to the head of the list.
    void OpenWithDialog(const std::string& names)
    {
        ClickAt(player, kCentre.x, kCentre.y);
        ASSERT_TRUE(ChooseInOpenDialog(*quon, music.Path() + "\\" + kLoose, names)) << "no open dialog";
    }

    // Waits for "Songs Over", noting each path the status line showed on the way. A "Songs Over"
    // left from an earlier play-through has to go first.
    Names StatusPathsUntilSongsOver(DWORD timeoutMs)
    {
        Names seen;
        WaitFor([&] { return StatusText(player) != "Songs Over"; }, 5000);
        const bool over = WaitFor([&] {
            const std::string text = StatusText(player);
            if (text.size() > 4 && text.compare(text.size() - 4, 4, ".wav") == 0 &&
                (seen.empty() || seen.back() != text))
                seen.push_back(text);
            return text == "Songs Over";
        }, timeoutMs);
        EXPECT_TRUE(over) << "the list never ended; status " << StatusText(player);
        return seen;
    }

    // The songs heard: the tones of the recording, where a song that the sound output interrupted for a
    // moment (a busy machine can hold up its first buffers) counts once, with the length of all its parts.
    std::vector<Tone> Heard(Recorder& recorder)
    {
        EXPECT_TRUE(recorder.Stop());
        Recording recording;
        EXPECT_TRUE(LoadRecording(recorder.WindowsPath(), recording)) << recorder.WindowsPath();
        std::vector<Tone> songs;
        double longestPart = 0;
        for (const Tone& part : FindTones(recording)) {
            Tone* last = songs.empty() ? nullptr : &songs.back();
            const double gap = last ? part.start - (last->start + last->length) : 1;
            // A piece too short to have a pitch of its own (the last few samples of a song
            // that the platform's sound path delivered after a break) belongs to the song too.
            const bool samePitch = last && (part.length < kShortestPitched ||
                                            (part.frequency > 0.8 * last->frequency &&
                                             part.frequency < 1.25 * last->frequency));
            if (last && gap < kMaxDropout && samePitch) {
                std::printf("note: a song's sound broke off for %.3f s at %.3f s\n", gap, part.start - gap);
                last->length += part.length;
                last->peak = std::max(last->peak, part.peak);
                if (part.length > longestPart) {
                    last->frequency = part.frequency;
                    longestPart = part.length;
                }
                continue;
            }
            songs.push_back(part);
            longestPart = part.length;
        }
        return songs;
    }

    void ExpectPitches(const std::vector<Tone>& tones, const std::vector<double>& pitches, const char* what)
    {
        ASSERT_EQ(tones.size(), pitches.size())
            << what << "; the output's own underruns: " << (quon ? quon->SoundUnderruns() : -1);
        for (size_t i = 0; i < pitches.size(); ++i)
            EXPECT_NEAR(tones[i].frequency, pitches[i], 15) << what << ": tone " << i;
    }

    MusicFolder music;
    std::unique_ptr<MappedDrive> drive;
    std::unique_ptr<QuonProcess> quon;
    HWND player = nullptr;
};

// The songs of a folder, in the order the song list shows them, restricted to names.
Names InListOrder(const Names& listed, const Names& names)
{
    Names ordered;
    for (const std::string& entry : listed) {
        if (std::find(names.begin(), names.end(), entry) != names.end())
            ordered.push_back(entry);
    }
    return ordered;
}

TEST_F(Chooser, TwoSongsOfOneFolderThenOneOfAnotherAreHeardInThatOrder)
{
    StartQuon();
    std::unique_ptr<ChooserWindow> chooser = OpenChooser();
    ASSERT_TRUE(chooser) << "the Music bitmap opened no chooser";

    const Names drives = chooser->DriveEntries();
    EXPECT_NE(std::find(drives.begin(), drives.end(), drive->Text()), drives.end())
        << ::testing::PrintToString(drives);
    EXPECT_FALSE(chooser->IsEnabled(IDOK)) << "确定 starts disabled";

    HTREEITEM driveNode = ShowMappedDrive(*chooser);
    ASSERT_NE(driveNode, nullptr);
    Names folders;
    for (HTREEITEM item : chooser->Children(driveNode))
        folders.push_back(chooser->Text(item));
    std::sort(folders.begin(), folders.end());
    Names expectedFolders = {kLoose, kPop, kOld};
    std::sort(expectedFolders.begin(), expectedFolders.end());
    EXPECT_EQ(folders, expectedFolders);

    // Folder A: a2 is clicked before a1; the picks count in the list's order all the same.
    ASSERT_TRUE(OpenFolder(*chooser, driveNode, kPop, 3)) << "Pop listed no songs";
    const Names popListed = chooser->Songs();
    ASSERT_TRUE(chooser->ClickSong("a2.wav"));
    ::Sleep(600);  // clicks in a row are not to make a double click
    ASSERT_TRUE(chooser->ClickSong("a1.wav"));
    const Names popPicks = InListOrder(popListed, {"a1.wav", "a2.wav"});
    EXPECT_EQ(chooser->PickedSongs(), popPicks);
    Names expected;
    for (const std::string& name : popPicks)
        expected.push_back(SongPath(kPop, name));
    EXPECT_EQ(chooser->Collected(), expected);
    EXPECT_TRUE(chooser->IsEnabled(IDOK));

    // Folder B: leaving A collects its picks; one song picked here joins them.
    ASSERT_TRUE(OpenFolder(*chooser, driveNode, kOld, 2)) << "老歌 listed no songs";
    EXPECT_EQ(chooser->Collected(), expected) << "the picks of the folder left stay collected";
    ::Sleep(600);
    ASSERT_TRUE(chooser->ClickSong("乐曲.wav"));
    expected.push_back(SongPath(kOld, "乐曲.wav"));
    EXPECT_EQ(chooser->Collected(), expected);
    ASSERT_TRUE(chooser->IsEnabled(IDOK));
    EXPECT_TRUE(chooser->IsEnabled(IDC_RESET));
    EXPECT_FALSE(chooser->IsEnabled(IDC_SELECT_ALL)) << "全选 is off while songs are picked";
    ::Sleep(300);
    Screenshot().Save("chooser_picks");

    Recorder recorder("chooser_picks.wav");
    ASSERT_TRUE(recorder.Start());
    chooser->ClickButton(IDOK);
    ASSERT_TRUE(WaitFor([&] { return !chooser->IsOpen(); }, 5000)) << "确定 did not close the chooser";
    const Names shown = StatusPathsUntilSongsOver(20000);
    ::Sleep(kLastTailMs);
    const std::vector<Tone> tones = Heard(recorder);

    EXPECT_EQ(shown, expected) << "the status line shows each chosen path in turn";
    std::vector<double> pitches;
    for (const std::string& path : expected)
        pitches.push_back(PitchOf(path));
    ExpectPitches(tones, pitches, "the three picks, in the order they were collected");
    for (const Tone& tone : tones)
        EXPECT_NEAR(tone.length, 0.7, 0.03) << "each song is heard to its end, once";
    EXPECT_FALSE(quon->HasExited());
}

// What the play list holds after a cancelled chooser: whatever the chooser had collected from folders
// it left, then the list from before. A song opened afterwards goes to its head, and all of it plays.
struct CancelCase {
    const char* name;
    const char* pickInPop;  // null: cancel at once
    const char* recording;
    std::vector<double> heard;
};

TEST_F(Chooser, CancelKeepsThePreviousListBehindWhatWasCollected)
{
    const CancelCase cases[] = {
        {"cancelled at once", nullptr, "chooser_cancel_at_once.wav", {1100, 500, 800}},
        {"cancelled after leaving a folder with a pick", "a3.wav", "chooser_cancel_after_pick.wav",
         {1100, 1600, 500, 800}},
    };
    for (const CancelCase& c : cases) {
        SCOPED_TRACE(c.name);
        StartQuon();
        OpenWithDialog("\"y.wav\" \"x.wav\"");  // the list: x, y
        StatusPathsUntilSongsOver(15000);

        std::unique_ptr<ChooserWindow> chooser = OpenChooser();
        ASSERT_TRUE(chooser) << "the Music bitmap opened no chooser";
        if (c.pickInPop) {
            HTREEITEM driveNode = ShowMappedDrive(*chooser);
            ASSERT_NE(driveNode, nullptr);
            ASSERT_TRUE(OpenFolder(*chooser, driveNode, kPop, 3));
            ASSERT_TRUE(chooser->ClickSong(c.pickInPop));
            ASSERT_TRUE(OpenFolder(*chooser, driveNode, kOld, 2));
            EXPECT_EQ(chooser->Collected(), Names{SongPath(kPop, c.pickInPop)});
        }
        chooser->ClickButton(IDCANCEL);
        ASSERT_TRUE(WaitFor([&] { return !chooser->IsOpen(); }, 5000)) << "取消 did not close the chooser";
        EXPECT_EQ(StatusText(player), "Songs Over") << "a cancelled chooser plays nothing";

        Recorder recorder(c.recording);
        ASSERT_TRUE(recorder.Start());
        ::Sleep(700);
        OpenWithDialog("\"n.wav\"");
        const Names shown = StatusPathsUntilSongsOver(20000);
        ::Sleep(kLastTailMs);
        ExpectPitches(Heard(recorder), c.heard, c.name);
        std::vector<double> shownPitches;
        for (const std::string& path : shown)
            shownPitches.push_back(PitchOf(path));
        EXPECT_EQ(shownPitches, c.heard) << "the status line named " << ::testing::PrintToString(shown);

        ::PostMessageA(player, WM_COMMAND, ID_TRAY_EXIT, 0);
        quon.reset();
    }
}

}  // namespace
