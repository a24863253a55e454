#pragma once
// The folder of the running test program, with its trailing separator: the
// build puts the libraries and data files the tests need next to it.
#include <windows.h>

#include <string>

inline std::string ExeFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1);
}
