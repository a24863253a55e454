// The running program driven through its transport panel as a user does it:
// clicks on the panel's zones with the system's mouse, the open-file dialog
// and the message boxes answered from another thread, the results read back
// from the active document, the panel and the sound that reached the
// device.
#include "ProgramPanelFixture.h"
#include "app/SongFiles.h"
#include "tests/akrip/DiscImage.h"
#include "tests/sound/CdTestSupport.h"

#include <shlobj.h>

TEST_F(ProgramPanel, OpenZoneLoadsAWavIntoTheActiveDocument)
{
    const std::string path = WriteSong("first take.wav", PositionSong(4 * kRate));
    CKestrixDoc* doc = Doc();
    EXPECT_FALSE(m_panel->IsSongLoaded());
    OpenSong(path);

    // The file dialog offered the library's formats with WAV.
    bool filterShown = false;
    for (const BoxWatcher::Seen& s : m_boxes->All())
        if (s.kind == "open")
            filterShown = s.Mentions("*.wav") && s.Mentions("*.mp3");
    EXPECT_TRUE(filterShown);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());

    ASSERT_EQ(Doc(), doc);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 4000);
    EXPECT_EQ(std::string(doc->GetTitle()), "first take");
    EXPECT_EQ(std::string(doc->GetAudioPath()), path);
    ASSERT_NE(doc->GetPlayer(), nullptr);
    EXPECT_EQ(doc->GetPlayer()->GetSampleRate(), kRate);
    EXPECT_EQ(doc->GetPlayer()->GetChannels(), 2);
    EXPECT_FALSE(doc->IsPlaying());
    EXPECT_TRUE(m_panel->IsSongLoaded());
    EXPECT_EQ(std::string(m_panel->GetTimeText()), "00:00:0");

    // A second song, and Yes to the question: a new document takes it and
    // the first keeps its own.
    const std::string second = WriteSong("second.wav", PositionSong(2 * kRate));
    m_boxes->SetAnswer(IDYES);
    OpenSong(second);
    ASSERT_EQ(m_boxes->Count("box"), 1) << Join(BoxTexts());
    EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(52))));
    CKestrixDoc* fresh = Doc();
    ASSERT_NE(fresh, nullptr);
    ASSERT_NE(fresh, doc);
    EXPECT_TRUE(fresh->HasAudio());
    EXPECT_EQ(fresh->GetTotalLength(), 2000);
    EXPECT_EQ(std::string(fresh->GetTitle()), "second");
    EXPECT_EQ(std::string(fresh->GetAudioPath()), second);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 4000);
    EXPECT_EQ(std::string(doc->GetTitle()), "first take");
    EXPECT_EQ(std::string(doc->GetAudioPath()), path);

    // Cancel in the file dialog changes nothing.
    m_boxes->QueueFile("");
    Click(kOpen);
    EXPECT_EQ(Doc(), fresh);
    EXPECT_EQ(fresh->GetTotalLength(), 2000);
    EXPECT_EQ(std::string(fresh->GetAudioPath()), second);
}

TEST_F(ProgramPanel, OpenZoneConvertsAnMp3UnderTheProgressDialog)
{
    const std::string mp3 = ExeFolder() + "sound-test-songs\\stereo.mp3";
    ASSERT_TRUE(Exists(mp3)) << "the MP3 songs are made by the sound_make_songs test";
    CKestrixDoc* doc = Doc();
    const std::string temp = m_folder->path + std::string(doc->GetTempWavName());
    OpenSong(mp3);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());

    // The progress dialog ran and closed, showing the conversion's text.
    ASSERT_EQ(ProgressClosed(), 1);
    for (const DialogHook::Closed& c : m_dialogs->closed) {
        if (c.Has(IDC_PROGRESS_BAR)) {
            EXPECT_EQ(c.TextOf(IDC_PROGRESS_TEXT), "Converting to wav...");
        }
    }

    ASSERT_EQ(Doc(), doc);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_NEAR(doc->GetTotalLength(), 3000, 100);
    EXPECT_EQ(std::string(doc->GetTitle()), "stereo");
    EXPECT_EQ(std::string(doc->GetAudioPath()), mp3);
    EXPECT_TRUE(m_panel->IsSongLoaded());
    // The player holds the converted file, the document's temporary WAV in
    // the installation folder.
    unsigned number = 0;
    char tail = 0;
    EXPECT_EQ(sscanf(std::string(doc->GetTempWavName()).c_str(), "tempWavFile%u.wa%c", &number, &tail), 2);
    EXPECT_EQ(tail, 'v');
    EXPECT_TRUE(Exists(temp));
    EXPECT_EQ(std::string(doc->GetPlayer()->GetFilePath()), temp);
    EXPECT_EQ(doc->GetPlayer()->GetSampleRate(), kRate);
    EXPECT_EQ(doc->GetPlayer()->GetChannels(), 2);

    // Closing the document takes its temporary file with it.
    m_boxes->SetAnswer(IDNO);
    CMDIChildWnd* child = m_frame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    SendMessageA(child->m_hWnd, WM_CLOSE, 0, 0);
    Pump(*m_app);
    EXPECT_EQ(Doc(), nullptr);
    EXPECT_FALSE(Exists(temp));
}

TEST_F(ProgramPanel, SeekForwardPlayStopAndLoopThroughTheZones)
{
    const std::string played = PlayedFilePath();
    ASSERT_FALSE(played.empty()) << "QUORVA_PLAYED_FILE not set: run through the Wine runner";
    const int lengthMs = 10000;
    OpenSong(WriteSong("positions.wav", PositionSong(lengthMs / 1000 * kRate)));
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());
    ASSERT_TRUE(m_panel->IsSongLoaded());

    // A click on the time track seeks to the place under the knob's centre.
    const PanelGeometry& g = m_panel->GetGeometry();
    const int knob = g.timeKnob.right - g.timeKnob.left;
    const int x = 150;
    const int travel = g.timeRight - g.timeLeft - knob;
    ASSERT_GT(travel, 0);
    const int expected = (x - g.timeLeft - knob / 2) * lengthMs / travel;
    Click(POINT{x, kTimeTrackY});
    EXPECT_EQ((int)doc->GetPosition(), expected);
    EXPECT_EQ(std::string(m_panel->GetTimeText()), TimeText(expected));
    EXPECT_FALSE(doc->IsPlaying());

    // Forward and Back move by the skip step; Forward once more.
    Click(kForward);
    EXPECT_EQ((int)doc->GetPosition(), expected + 2000);
    EXPECT_EQ(std::string(m_panel->GetTimeText()), TimeText(expected + 2000));
    Click(kBack);
    EXPECT_EQ((int)doc->GetPosition(), expected);
    Click(kForward);
    const int start = expected + 2000;
    ASSERT_EQ((int)doc->GetPosition(), start);

    // Play: document and panel play, the clock runs. (The device file is
    // made anew when the device opens; nothing of an earlier run is read.)
    DeleteFileA(played.c_str());
    Click(kPlay);
    // The device may take a moment to open on a busy machine.
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return doc->IsPlaying() && m_panel->IsPlayingShown(); }, 5000));
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return doc->GetPosition() >= start + 700; }, 10000))
        << doc->GetPosition();
    PumpFor(*m_app, 200); // a clock tick or more
    EXPECT_NE(std::string(m_panel->GetTimeText()), TimeText(start));

    // Stop: both stop, the position stays where playing got to.
    Click(kStop);
    EXPECT_FALSE(doc->IsPlaying());
    EXPECT_FALSE(m_panel->IsPlayingShown());
    const int stoppedAt = (int)doc->GetPosition();
    EXPECT_GE(stoppedAt, start + 700);
    EXPECT_LT(stoppedAt, lengthMs);
    PumpFor(*m_app, 300);
    EXPECT_EQ((int)doc->GetPosition(), stoppedAt) << "still moving after Stop";

    // The device got the song from the chosen place on, and only about as
    // far as it played (its buffer runs a little ahead).
    const std::vector<unsigned char> out = ReadAll(played);
    size_t inOrder = 0;
    const long first = FirstPlayedFrame(out, 64, &inOrder);
    ASSERT_GE(first, 0) << "no song frames among " << out.size() << " bytes played";
    EXPECT_NEAR(first * 1000.0 / kRate, start, 2.0);
    EXPECT_GE(inOrder * 1000.0 / kRate, 500.0);
    EXPECT_LT((first + (long)inOrder) * 1000.0 / kRate, stoppedAt + 1000.0);

    // Loop toggles in panel and document alike.
    EXPECT_FALSE(m_panel->IsLoopShown());
    Click(kLoop);
    EXPECT_TRUE(m_panel->IsLoopShown());
    EXPECT_TRUE(doc->IsLoopOn());
    Click(kLoop);
    EXPECT_FALSE(m_panel->IsLoopShown());
    EXPECT_FALSE(doc->IsLoopOn());

    // Keys on the panel (it took the focus with the clicks): Space plays and
    // stops; Enter and Escape do not close it.
    ASSERT_EQ(GetFocus(), m_panel->m_hWnd);
    ASSERT_TRUE(SendKey(VK_SPACE));
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return doc->IsPlaying(); }, 5000));
    EXPECT_TRUE(m_panel->IsPlayingShown());
    PumpFor(*m_app, 200);
    ASSERT_TRUE(SendKey(VK_SPACE));
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return !doc->IsPlaying(); }, 5000));
    EXPECT_FALSE(m_panel->IsPlayingShown());
    ASSERT_TRUE(SendKey(VK_RETURN));
    ASSERT_TRUE(SendKey(VK_ESCAPE));
    PumpFor(*m_app, 300);
    EXPECT_TRUE(IsWindowVisible(m_panel->m_hWnd));
    EXPECT_FALSE(doc->IsPlaying());

    // The far right of the time track lies past the song's end: the
    // document keeps its last millisecond.
    Click(POINT{g.timeRight - 1, kTimeTrackY});
    EXPECT_EQ((int)doc->GetPosition(), lengthMs - 1);
    EXPECT_EQ(std::string(m_panel->GetTimeText()), TimeText(lengthMs - 1));
    Click(kBack);
    EXPECT_EQ((int)doc->GetPosition(), lengthMs - 1 - 2000);
    // Enough left to be still playing however slowly the click is delivered.
    Click(kBack);
    Click(kBack);
    EXPECT_EQ((int)doc->GetPosition(), lengthMs - 1 - 6000);

    // Played to its end, the song stops there, in document and panel.
    Click(kPlay);
    EXPECT_TRUE(doc->IsPlaying());
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return !doc->IsPlaying(); }, 10000)) << doc->GetPosition();
    PumpFor(*m_app, 200);
    EXPECT_FALSE(m_panel->IsPlayingShown());
    EXPECT_EQ((int)doc->GetPosition(), lengthMs - 1);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());
}

TEST_F(ProgramPanel, TransportZonesWithoutASongDoNothing)
{
    CKestrixDoc* doc = Doc();
    ASSERT_FALSE(doc->HasAudio());
    for (POINT p : {kBack, kForward, kPlay, kLoop, kStop, POINT{200, kTimeTrackY}, kAnalyze, kBack}) {
        Click(p);
        EXPECT_FALSE(doc->IsPlaying());
        EXPECT_FALSE(m_panel->IsPlayingShown());
        EXPECT_FALSE(m_panel->IsSongLoaded());
        EXPECT_FALSE(m_panel->IsLoopShown());
        EXPECT_FALSE(doc->HasAudio());
        EXPECT_EQ(std::string(m_panel->GetTimeText()), "00:00:0");
    }
    EXPECT_LE(doc->GetPosition(), 0.0);
    EXPECT_EQ(ProgressClosed(), 0);
    EXPECT_TRUE(m_boxes->All().empty()) << Join(BoxTexts());

    // With no document at all, Open says so and opens no file dialog.
    m_boxes->SetAnswer(IDNO);
    SendMessageA(m_frame->MDIGetActive()->m_hWnd, WM_CLOSE, 0, 0);
    Pump(*m_app);
    ASSERT_EQ(Doc(), nullptr);
    m_boxes->Clear();
    m_boxes->SetAnswer(IDOK);
    Click(kOpen);
    EXPECT_EQ(m_boxes->Count("open"), 0);
    ASSERT_EQ(m_boxes->Count("box"), 1) << Join(BoxTexts());
    EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(51))));
    for (POINT p : {kPlay, kForward, kAnalyze})
        Click(p);
    EXPECT_EQ(m_boxes->All().size(), 1u) << Join(BoxTexts());
}

TEST_F(ProgramPanel, AnalyzeZoneFillsTheDocumentWithChordsBassKeyAndTuning)
{
    OpenSong(WriteSong("g major.wav", SynthSong(kRate, 26.0, 2)));
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());
    EXPECT_FALSE(doc->HasChords());

    Click(kAnalyze);
    // The progress dialog came and went (a fast analysis may end before the
    // box watcher sees it shown).
    EXPECT_LE(m_boxes->Count("progress"), 1);
    EXPECT_EQ(ProgressClosed(), 1);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());
    ASSERT_TRUE(doc->HasChords());

    std::vector<ChordEntry> chords;
    doc->GetChords(chords);
    ASSERT_FALSE(chords.empty());
    // G, C and D (10, 3 and 5 from A) are the song's chords: most found are.
    int inKey = 0;
    for (const ChordEntry& c : chords) {
        EXPECT_GE(c.root, 0);
        EXPECT_LE(c.root, 11);
        inKey += c.root == 10 || c.root == 3 || c.root == 5;
    }
    EXPECT_GE(inKey * 4, (int)chords.size() * 3) << inKey << " of " << chords.size();
    for (size_t i = 1; i < chords.size(); ++i)
        EXPECT_LE(chords[i - 1].time, chords[i].time);
    EXPECT_LT(chords.back().time, 26000);

    std::vector<BassNote> bass;
    doc->GetBassNotes(bass);
    ASSERT_FALSE(bass.empty());
    for (const BassNote& b : bass) {
        EXPECT_GE(b.pitch, 0);
        EXPECT_LE(b.pitch, 11);
    }
    std::vector<int> codes, times;
    doc->GetPitchSets(codes, times);
    EXPECT_FALSE(codes.empty());
    EXPECT_EQ(codes.size(), times.size());

    EXPECT_EQ(std::string(doc->GetKey()), "G");
    EXPECT_NEAR(doc->GetTuning(), 445.0f, 1.0f);
    EXPECT_FALSE(m_panel->IsPlayingShown());
}

TEST_F(ProgramPanel, CancelDuringTheAnalysisLeavesTheDocumentAsItWas)
{
    OpenSong(WriteSong("song.wav", SynthSong(22050, 28.0, 1), 1, 22050));
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());
    // The low-rate warning came up and was answered.
    m_boxes->Clear();
    const float tuning = doc->GetTuning();
    const std::string key = std::string(doc->GetKey());

    // The engine waits at its first poll for the Cancel: it is at work when
    // Cancel comes, however fast it would be.
    SetEnvironmentVariableA("ZUMBREL_HOLD_FOR_CANCEL", "1");
    m_boxes->SetCancelProgress(true);
    Click(kAnalyze);
    SetEnvironmentVariableA("ZUMBREL_HOLD_FOR_CANCEL", nullptr);
    EXPECT_TRUE(m_boxes->CancelPressed()) << "the progress dialog never showed Cancel while the engine ran";
    EXPECT_EQ(ProgressClosed(), 1);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());
    EXPECT_FALSE(doc->HasChords());
    std::vector<BassNote> bass;
    doc->GetBassNotes(bass);
    EXPECT_TRUE(bass.empty());
    EXPECT_EQ(doc->GetTuning(), tuning);
    EXPECT_EQ(std::string(doc->GetKey()), key);
    EXPECT_TRUE(doc->HasAudio());

    // The cancel does not stick to the next run.
    m_boxes->SetCancelProgress(false);
    Click(kAnalyze);
    EXPECT_EQ(ProgressClosed(), 2);
    EXPECT_TRUE(doc->HasChords());
    EXPECT_NEAR(doc->GetTuning(), 445.0f, 1.0f);
}

TEST_F(ProgramPanel, AWavThatDoesNotLoadIsReportedAndReplacesNothing)
{
    const std::string bad = m_folder->path + "bad.wav";
    std::string garbage(20000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = (char)(i * 37 + 11);
    ASSERT_TRUE(progtest::WriteText(bad, garbage));
    CKestrixDoc* doc = Doc();
    OpenSong(bad);
    ASSERT_EQ(m_boxes->Count("box"), 1) << Join(BoxTexts());
    // Nothing was converted: the box says the file itself could not be read.
    EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(192)))) << Join(BoxTexts());
    EXPECT_FALSE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 0);
    EXPECT_FALSE(m_panel->IsSongLoaded());
    EXPECT_EQ(std::string(doc->GetAudioPath()), "");

    // After a good song, a bad one or one cut short in its place (No: same
    // document) replaces nothing: the song before stays, as when a
    // conversion fails.
    const std::string good = WriteSong("good.wav", PositionSong(20 * kRate));
    OpenSong(good);
    ASSERT_TRUE(doc->HasAudio());
    ASSERT_TRUE(m_panel->IsSongLoaded());
    const std::vector<unsigned char> whole = progtest::ReadAll(WriteSong("cut.wav", PositionSong(4 * kRate)));
    const std::string cutPath = m_folder->path + "cut.wav";
    ASSERT_TRUE(progtest::WriteBytes(cutPath, whole.data(), whole.size() / 2));
    for (const std::string& replacement : {bad, cutPath}) {
        m_boxes->Clear();
        m_boxes->SetAnswer(IDNO);
        OpenSong(replacement);
        ASSERT_EQ(m_boxes->Count("box"), 2) << Join(BoxTexts()); // the question, then the failure
        EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(192)))) << Join(BoxTexts());
        EXPECT_EQ(Doc(), doc);
        EXPECT_TRUE(doc->HasAudio());
        EXPECT_EQ(doc->GetTotalLength(), 20000);
        EXPECT_EQ(std::string(doc->GetAudioPath()), good);
        EXPECT_TRUE(m_panel->IsSongLoaded());
    }
    Click(kPlay);
    EXPECT_TRUE(doc->IsPlaying());
    Click(kStop);

    // A file past 2 GB (sparse here) is refused as too long, not as damaged.
    const std::string huge = WriteSong("huge.wav", PositionSong(kRate));
    HANDLE f = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 0x88000000LL;
    EXPECT_TRUE(SetFilePointerEx(f, end, nullptr, FILE_BEGIN) && SetEndOfFile(f));
    CloseHandle(f);
    m_boxes->Clear();
    OpenSong(huge);
    DeleteFileA(huge.c_str());
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 2u) << Join(boxes);
    EXPECT_NE(boxes[1].find(std::string(m_app->GetLangString(175))), std::string::npos) << boxes[1];
    EXPECT_EQ(doc->GetTotalLength(), 20000);
}

TEST_F(ProgramPanel, ASongThatDoesNotConvertIsReportedAndKeepsTheSongBefore)
{
    // Long enough to be still playing however slowly the click is delivered.
    const std::string good = WriteSong("kept.wav", PositionSong(20 * kRate));
    OpenSong(good);
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());
    const std::string bad = m_folder->path + "noise.mp3";
    std::string garbage(30000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = (char)(i * 53 + 7);
    ASSERT_TRUE(progtest::WriteText(bad, garbage));

    // No to the question: the same document, which keeps its song when the
    // conversion fails.
    m_boxes->Clear();
    m_boxes->SetAnswer(IDNO);
    OpenSong(bad);
    EXPECT_EQ(ProgressClosed(), 1);
    EXPECT_EQ(m_boxes->Count("box"), 2) << Join(BoxTexts()); // the question, then the failure
    EXPECT_EQ(Doc(), doc);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 20000);
    EXPECT_EQ(std::string(doc->GetAudioPath()), good);
    EXPECT_TRUE(m_panel->IsSongLoaded());
    Click(kPlay);
    EXPECT_TRUE(doc->IsPlaying());
    Click(kStop);
    EXPECT_FALSE(doc->IsPlaying());
}

TEST_F(ProgramPanel, ACdTrackThatCannotBeReadIsSaidSoAndTheNextTrackOpens)
{
    // A disc of two tracks (60 and 140 frames) in a CD-ROM drive of its own.
    const std::string dir = TestFolder("panel-cd"), root = TestFolder("panel-cd\\drive");
    ASSERT_TRUE(WriteImage(dir + "\\disc.bin", 200));
    ASSERT_TRUE(::WriteText(dir + "\\disc.cue", CueText("disc.bin", {0, 60})));
    ASSERT_TRUE(::WriteText(root + "\\Track01.cda", "") && ::WriteText(root + "\\Track02.cda", ""));
    char letter = 0;
    for (char l = 'Q'; l < 'Z' && !letter; ++l) {
        const char drive[4] = {l, ':', '\\', 0};
        const UINT type = GetDriveTypeA(drive);
        if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_CDROM)
            letter = l;
    }
    ASSERT_TRUE(letter && WineDrive::DefineCdrom(letter, root));
    struct Eject {
        char letter;
        ~Eject() { WineDrive::Remove(letter); }
    } eject{letter};
    ScopedEnv image("QUORVA_CD_IMAGE", (dir + "\\disc.cue").c_str());
    const std::string track = std::string(1, FirstCdromLetter()) + ":\\Track0";

    OpenSong(WriteSong("kept.wav", PositionSong(2 * kRate)));
    CKestrixDoc* doc = Doc();
    m_boxes->Clear();
    m_boxes->SetAnswer(IDNO);
    {
        ScopedEnv fault("QUORVA_CD_FAULT_READ", "100");
        OpenSong(track + "2.cda");
    }
    // The question, then the failure; the song before stays, and what the
    // rip wrote is gone.
    ASSERT_EQ(BoxTexts().size(), 2u) << Join(BoxTexts());
    EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(67))));
    EXPECT_EQ(doc->GetTotalLength(), 2000);
    EXPECT_FALSE(Exists(std::string(m_panel->GetInstallFolder() + doc->GetTempWavName())));

    // The failed rip has given the drive back: the next track opens.
    m_boxes->Clear();
    OpenSong(track + "1.cda");
    ASSERT_EQ(BoxTexts().size(), 1u) << Join(BoxTexts()); // the question
    EXPECT_EQ(Doc(), doc);
    EXPECT_EQ(doc->GetTotalLength(), 60 * 1000 / 75);
    EXPECT_EQ(std::string(doc->GetTitle()), "Track01");
}

TEST_F(ProgramPanel, ANameThatLostLettersOrAMissingFileIsSaidSo)
{
    // The Polish city's name with its own letters reaches the program in
    // the ANSI code page, where it loses some (the Western code page has no
    // L with stroke): a name of no file.
    wchar_t folder[MAX_PATH];
    ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, m_folder->path.c_str(), -1, folder, MAX_PATH), 0);
    const std::wstring wide = std::wstring(folder) + L"\u0141\u00f3d\u017a.wav";
    const std::string plain = WriteSong("plain.wav", PositionSong(kRate));
    std::wstring plainWide(folder);
    plainWide += L"plain.wav";
    ASSERT_TRUE(MoveFileW(plainWide.c_str(), wide.c_str()));
    char ansi[MAX_PATH];
    ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr), 0);
    CKestrixDoc* doc = Doc();
    m_app->OpenDocumentFile(ansi);
    Pump(*m_app);
    ASSERT_EQ(BoxTexts().size(), 1u) << Join(BoxTexts());
    EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(kLangNameNotUsable))));
    EXPECT_EQ(ProgressClosed(), 0);
    EXPECT_FALSE(doc->HasAudio());

    // A song that is not there is said to be missing, not unconvertible.
    m_boxes->Clear();
    m_app->OpenDocumentFile((m_folder->path + "gone.mp3").c_str());
    Pump(*m_app);
    ASSERT_EQ(BoxTexts().size(), 1u) << Join(BoxTexts());
    EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(kLangSongNotFound))));
    EXPECT_EQ(ProgressClosed(), 0);
}

TEST_F(ProgramPanel, WithoutAnOutputDeviceSongsLoadAndAnalyseAndPlaySaysSo)
{
    CKestrixDoc* doc = Doc();
    doc->SetSoundCard(-1); // as in a program that found no device
    OpenSong(WriteSong("song.wav", SynthSong(kRate, 6.0, 2)));
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());
    ASSERT_TRUE(doc->HasAudio());
    EXPECT_EQ(doc->GetTotalLength(), 6000);

    Click(kPlay);
    EXPECT_FALSE(doc->IsPlaying());
    EXPECT_FALSE(m_panel->IsPlayingShown());
    ASSERT_EQ(BoxTexts().size(), 1u) << Join(BoxTexts());
    EXPECT_TRUE(m_boxes->All().back().Mentions(std::string(m_app->GetLangString(38))));

    Click(kAnalyze);
    EXPECT_TRUE(doc->HasChords());

    // A converted song too (No: into this document).
    const std::string mp3 = ExeFolder() + "sound-test-songs\\stereo.mp3";
    ASSERT_TRUE(Exists(mp3));
    m_boxes->Clear();
    m_boxes->SetAnswer(IDNO);
    OpenSong(mp3);
    ASSERT_EQ(BoxTexts().size(), 1u) << Join(BoxTexts()); // the question
    EXPECT_EQ(Doc(), doc);
    EXPECT_TRUE(doc->HasAudio());
    EXPECT_NEAR(doc->GetTotalLength(), 3000, 100);
}

// An engine library whose engine could not be made: the analysis cannot run.
class ProgramPanelWithoutEngine : public ProgramPanel {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("ZUMBREL_FAIL_ENGINE_CREATE", "1");
        ProgramPanel::SetUp();
    }
    void TearDown() override
    {
        ProgramPanel::TearDown();
        SetEnvironmentVariableA("ZUMBREL_FAIL_ENGINE_CREATE", nullptr);
    }
};

TEST_F(ProgramPanelWithoutEngine, AnalyzeSaysItCannotRunAndLeavesTheDocument)
{
    OpenSong(WriteSong("song.wav", SynthSong(kRate, 6.0, 2)));
    CKestrixDoc* doc = Doc();
    ASSERT_TRUE(doc->HasAudio());

    Click(kAnalyze);
    // The dialog ends (no hang) after telling the user; nothing is handed over.
    EXPECT_EQ(ProgressClosed(), 1);
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 1u) << Join(boxes);
    EXPECT_NE(boxes[0].find(std::string(m_app->GetLangString(144))), std::string::npos) << boxes[0];
    EXPECT_FALSE(doc->HasChords());
    EXPECT_TRUE(doc->HasAudio());

    // The panel is not left busy: the next command runs.
    m_boxes->Clear();
    Click(kAnalyze);
    EXPECT_EQ(ProgressClosed(), 2);
}

namespace {

// 24-bit stereo PCM: the same ramp on both channels.
std::vector<unsigned char> Song24(unsigned frames)
{
    std::vector<unsigned char> d;
    d.reserve(frames * 6u);
    for (unsigned i = 0; i < frames; ++i)
        for (int ch = 0; ch < 2; ++ch) {
            const unsigned v = (i * 977u) & 0x3FFFFF;
            d.push_back((unsigned char)v);
            d.push_back((unsigned char)(v >> 8));
            d.push_back((unsigned char)(v >> 16));
        }
    return d;
}

// What the shell hands a window when a file is dropped on it.
HGLOBAL DropOf(const std::string& path)
{
    HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
    auto* df = (DROPFILES*)GlobalLock(h);
    df->pFiles = sizeof(DROPFILES);
    memcpy((char*)df + sizeof(DROPFILES), path.c_str(), path.size() + 1);
    GlobalUnlock(h);
    return h;
}

} // namespace

TEST_F(ProgramPanel, SongsOpenThroughFileOpenAndByDropAndWideWavsAreConverted)
{
    const std::string mp3 = ExeFolder() + "sound-test-songs\\stereo.mp3";
    ASSERT_TRUE(Exists(mp3)) << "the MP3 songs are made by the sound_make_songs test";
    CKestrixDoc* doc = Doc();

    // File > Open: the MP3 is converted into the empty document as its song.
    m_boxes->QueueFile(mp3);
    PostMessageA(m_frame->m_hWnd, WM_COMMAND, ID_FILE_OPEN, 0);
    ASSERT_TRUE(PumpUntil(*m_app, [&] { return ProgressClosed() == 1 && doc->HasAudio(); }, 20000))
        << Join(BoxTexts());
    EXPECT_EQ(m_boxes->Count("open"), 1);
    EXPECT_TRUE(BoxTexts().empty()) << Join(BoxTexts());
    EXPECT_EQ(Doc(), doc);
    EXPECT_EQ(std::string(doc->GetTitle()), "stereo");
    EXPECT_NEAR(doc->GetTotalLength(), 3000, 100);

    // Dropped on the main window: the panel's question, Yes makes a new document.
    m_boxes->SetAnswer(IDYES);
    PostMessageA(m_frame->m_hWnd, WM_DROPFILES, (WPARAM)DropOf(mp3), 0);
    ASSERT_TRUE(PumpUntil(*m_app, [&] { return ProgressClosed() == 2 && Doc() != doc && Doc()->HasAudio(); }, 20000))
        << Join(BoxTexts());
    ASSERT_EQ(BoxTexts().size(), 1u) << Join(BoxTexts());
    EXPECT_NE(BoxTexts()[0].find(std::string(m_app->GetLangString(52))), std::string::npos) << BoxTexts()[0];
    EXPECT_EQ(std::string(Doc()->GetTitle()), "stereo");
    EXPECT_TRUE(doc->HasAudio());

    // A 24-bit WAV goes through the conversion (No: into this document) and plays.
    m_boxes->Clear();
    m_boxes->SetAnswer(IDNO);
    wavtest::Spec spec;
    spec.bits = 24;
    const std::string widePath = m_folder->path + "wide.wav";
    ASSERT_TRUE(wavtest::WriteFile(widePath, wavtest::Build(spec, Song24(2 * kRate))));
    OpenSong(widePath);
    EXPECT_EQ(ProgressClosed(), 3);
    ASSERT_EQ(BoxTexts().size(), 1u) << Join(BoxTexts()); // the question
    CKestrixDoc* wide = Doc();
    ASSERT_TRUE(wide->HasAudio());
    EXPECT_EQ(std::string(wide->GetTitle()), "wide");
    EXPECT_EQ(wide->GetTotalLength(), 2000);
    EXPECT_EQ(wide->GetPlayer()->GetSampleRate(), kRate);
    EXPECT_EQ(wide->GetPlayer()->GetChannels(), 2);
    Click(kPlay);
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return wide->IsPlaying(); }, 5000));
    Click(kStop);

    // Float samples and six channels are converted the same way.
    std::vector<unsigned char> floats, six;
    for (unsigned i = 0; i < (unsigned)kRate; ++i) {
        const float v = (float)((i % 100) - 50) / 100.0f;
        unsigned bits;
        memcpy(&bits, &v, 4);
        for (int ch = 0; ch < 2; ++ch)
            wavtest::Put32(floats, bits);
        for (int ch = 0; ch < 6; ++ch)
            wavtest::Put16(six, (i * 37u) & 0xFFFF);
    }
    wavtest::Spec floatSpec;
    floatSpec.tag = 3;
    floatSpec.bits = 32;
    wavtest::Spec sixSpec;
    sixSpec.channels = 6;
    for (const auto& c : {std::make_pair(floatSpec, floats), std::make_pair(sixSpec, six)}) {
        m_boxes->Clear();
        ASSERT_TRUE(wavtest::WriteFile(widePath, wavtest::Build(c.first, c.second)));
        OpenSong(widePath);
        EXPECT_EQ(BoxTexts().size(), 1u) << c.first.channels << Join(BoxTexts());
        EXPECT_TRUE(Doc()->HasAudio());
        EXPECT_EQ(Doc()->GetTotalLength(), 1000) << c.first.channels;
        EXPECT_LE(Doc()->GetPlayer()->GetChannels(), 2);
    }
}

TEST_F(ProgramPanel, TheMainWindowsShortcutsWorkAfterAClickOnThePanel)
{
    Click(kStop);
    ASSERT_EQ(GetFocus(), m_panel->m_hWnd);
    m_boxes->QueueFile("");
    ASSERT_TRUE(SendChord(VK_CONTROL, 'O'));
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return m_boxes->Count("open") == 1; }, 10000));
    EXPECT_EQ(m_boxes->PendingFiles(), 0u);
}
