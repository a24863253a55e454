#pragma once
// A text file of the test's own, named after the running test so that tests
// running side by side never share one; removed at the end of the scope.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

class TestTextFile {
public:
    explicit TestTextFile(const std::string& content, const char* suffix = ".ini")
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::string("ini-") + info->test_suite_name() + "-" + info->name() + suffix;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            std::fwrite(content.data(), 1, content.size(), f);
            std::fclose(f);
        }
    }
    ~TestTextFile() { std::remove(path.c_str()); }
    TestTextFile(const TestTextFile&) = delete;
    TestTextFile& operator=(const TestTextFile&) = delete;

    std::string Read() const
    {
        std::string text;
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            return text;
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            text.append(buf, n);
        std::fclose(f);
        return text;
    }

    std::string path;
};
