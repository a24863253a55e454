#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "app/AnalysisRunner.h"

namespace {

HANDLE g_release = nullptr;
std::atomic<int> g_finished{0};

// Stands in for the worker: waits until released, then writes its job.
UINT HeldWorker(LPVOID param)
{
    CAnalysisJob* job = static_cast<CAnalysisJob*>(param);
    WaitForSingleObject(g_release, INFINITE);
    job->results.keyName = "written";
    job->results.chords.resize(3);
    ++g_finished;
    return 0;
}

class AnalysisRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_finished = 0;
    }
    void TearDown() override { CloseHandle(g_release); }
};

} // namespace

TEST_F(AnalysisRunnerTest, FinishedRunLeavesItsResults)
{
    CAnalysisRunner runner(INFINITE, HeldWorker);
    EXPECT_TRUE(runner.Finish()); // nothing running yet
    SetEvent(g_release);
    ASSERT_TRUE(runner.Start(nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(runner.Finish());
    EXPECT_EQ(1, g_finished.load());
    EXPECT_STREQ("written", runner.Job().results.keyName);
    EXPECT_EQ(3u, runner.Job().results.chords.size());
    // The next run starts on a fresh job.
    ASSERT_TRUE(runner.Start(nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(runner.Finish());
    EXPECT_EQ(2, g_finished.load());
}

TEST_F(AnalysisRunnerTest, TimedOutWaitLeavesTheWorkerItsJob)
{
    {
        CAnalysisRunner runner(50, HeldWorker);
        ASSERT_TRUE(runner.Start(nullptr, nullptr, nullptr, nullptr));
        EXPECT_FALSE(runner.Finish());
        EXPECT_FALSE(runner.HasWorker());
        // A new job for the owner; the old one stays with the worker.
        EXPECT_TRUE(runner.Job().results.keyName.IsEmpty());
    } // the runner is gone while the worker still holds its job
    SetEvent(g_release);
    for (int i = 0; i < 1000 && g_finished.load() == 0; ++i)
        Sleep(10);
    EXPECT_EQ(1, g_finished.load());
}
