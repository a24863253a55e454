#pragma once
// Scratch files for the app tests, removed when the test ends.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

class ScratchFile {
public:
    explicit ScratchFile(const char* stem)
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::string(stem) + "-" + info->test_suite_name() + "-" + info->name() + ".tmp";
        std::remove(m_path.c_str());
    }
    ~ScratchFile() { std::remove(m_path.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const char* path() const { return m_path.c_str(); }
    void Write(const std::string& bytes) const
    {
        std::ofstream f(m_path, std::ios::binary);
        f << bytes;
    }
    std::string Read() const
    {
        std::ifstream f(m_path, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }

private:
    std::string m_path;
};
