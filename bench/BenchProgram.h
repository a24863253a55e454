#pragma once
// The program started in-process for the benchmarks that time what a user
// waits for, with start-up's pauses left out.
#include <cstdio>
#include <memory>

#include "app/KestrixApp.h"
#include "tests/app/ProgramTestSupport.h"

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
