#include <gtest/gtest.h>

#include "framework/Sync.h"
#include "framework/Thread.h"

namespace {
UINT __cdecl Work(LPVOID p)
{
    LONG* counter = static_cast<LONG*>(p);
    InterlockedIncrement(counter);
    return 7;
}
} // namespace

TEST(FrameworkThread, SuspendedWithoutAutoDeleteKeepsObjectAndExitCode)
{
    LONG counter = 0;
    CWinThread* t = AfxBeginThread(&Work, &counter, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, t);
    Sleep(20);
    EXPECT_EQ(0, counter); // not started yet
    t->m_bAutoDelete = FALSE;
    t->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t->m_hThread, 5000));
    DWORD code = 0;
    GetExitCodeThread(t->m_hThread, &code);
    EXPECT_EQ(7u, code);
    EXPECT_EQ(1, counter);
    delete t;
}

TEST(FrameworkSync, CriticalSectionIsReentrant)
{
    CCriticalSection cs;
    CSingleLock outer(&cs, TRUE);
    {
        CSingleLock inner(&cs, TRUE);
        EXPECT_TRUE(inner.IsLocked());
    }
    EXPECT_TRUE(outer.IsLocked());
    CEvent ev(FALSE, TRUE);
    EXPECT_FALSE(ev.Lock(0));
    ev.SetEvent();
    EXPECT_TRUE(ev.Lock(0));
}
