#pragma once
// The program started in-process for the benchmarks that time what a user
// waits for, with start-up's pauses left out.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/KestrixApp.h"
#include "bench/BenchSong.h"
#include "tests/app/ProgramTestSupport.h"

// The benchmarks' 4-minute song as a 16-bit stereo WAV file.
inline bool WriteBenchSong(const std::string& path)
{
    const std::vector<unsigned char> pcm = bench::SongPcm16(2);
    std::vector<unsigned char> d;
    auto put32 = [&](unsigned v) {
        for (int i = 0; i < 4; ++i)
            d.push_back((unsigned char)(v >> (8 * i)));
    };
    const char* riff = "RIFF";
    d.insert(d.end(), riff, riff + 4);
    put32(36 + (unsigned)pcm.size());
    const char* fmtTag = "WAVEfmt ";
    d.insert(d.end(), fmtTag, fmtTag + 8);
    put32(16);
    const unsigned char fmt[16] = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0};
    d.insert(d.end(), fmt, fmt + 16);
    const char* data = "data";
    d.insert(d.end(), data, data + 4);
    put32((unsigned)pcm.size());
    d.insert(d.end(), pcm.begin(), pcm.end());
    return progtest::WriteBytes(path, d.data(), d.size());
}

// The folder the benchmarks' program is installed in, with the 4-minute song
// in it when `song` is given; null, said why, when it cannot be made.
inline std::unique_ptr<progtest::TestInstallation> MakeBenchInstallation(const char* prefix, std::string* song = nullptr)
{
    std::unique_ptr<progtest::TestInstallation> folder(new progtest::TestInstallation(
        {"Zumbrel.dll", "QuorvaSound.dll", "languages.txt", "mainBmp.bmp", "mainLightBmp.bmp", "volumeBmp.bmp",
         "timeSlideBmp.bmp"},
        prefix));
    if (!folder->missing.empty()) {
        std::printf("not beside the benchmark: %s\n", folder->missing.front().c_str());
        return nullptr;
    }
    if (song) {
        *song = folder->path + "bench-song.wav";
        if (!WriteBenchSong(*song)) {
            std::printf("cannot write %s\n", song->c_str());
            return nullptr;
        }
    }
    return folder;
}

inline std::unique_ptr<CKestrixApp> StartBenchProgram()
{
    std::unique_ptr<CKestrixApp> app(new CKestrixApp);
    app->SetStartupPauses(false);
    if (!app->InitInstance()) {
        std::printf("the program did not start\n");
        return nullptr;
    }
    progtest::Pump(*app);
    return app;
}
