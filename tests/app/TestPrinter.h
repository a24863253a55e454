// The test printer (tests/app/test-printer.sh) as the Windows tests see it.
// Tests that print declare FIXTURES_REQUIRED test_printer. Each job lands in
// the folder named by QUORVA_PRINTER_OUT as job-NNNNN.pdf with .txt (its text,
// pages separated by form feeds) and, written last, .info (title=, pages=).
#pragma once
#include <windows.h>
#include <winspool.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace test_printer {

inline std::wstring OutputDir() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"QUORVA_PRINTER_OUT", buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : std::wstring();
}

inline std::string ReadFile(const std::wstring& path) {
  std::string data;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return data;
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, got);
  fclose(f);
  return data;
}

inline std::wstring JobBase(int id) {
  wchar_t name[32];
  swprintf(name, 32, L"\\job-%05d", id);
  return OutputDir() + name;
}

// The highest job number that finished, 0 before the first.
inline int LastJobId() {
  int last = 0;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((OutputDir() + L"\\job-*.info").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    int id = _wtoi(fd.cFileName + 4);
    if (id > last) last = id;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return last;
}

struct Job {
  int id = 0;
  std::string title;            // the StartDoc document name
  int pages = 0;                // pdfinfo's page count
  std::vector<std::string> pageTexts;  // pdftotext's text, one entry per page
  std::wstring pdf;             // the PDF (a Z: path)
};

inline bool ReadJob(int id, Job& job) {
  std::string info = ReadFile(JobBase(id) + L".info");
  if (info.empty()) return false;
  job = Job();
  job.id = id;
  size_t pos = 0;
  while (pos < info.size()) {
    size_t end = info.find('\n', pos);
    if (end == std::string::npos) end = info.size();
    std::string line = info.substr(pos, end - pos);
    if (line.compare(0, 6, "title=") == 0) job.title = line.substr(6);
    if (line.compare(0, 6, "pages=") == 0) job.pages = atoi(line.c_str() + 6);
    pos = end + 1;
  }
  std::string text = ReadFile(JobBase(id) + L".txt");
  size_t start = 0, ff;
  while ((ff = text.find('\f', start)) != std::string::npos) {
    job.pageTexts.push_back(text.substr(start, ff - start));
    start = ff + 1;
  }
  job.pdf = JobBase(id) + L".pdf";
  return true;
}

// Waits for the first job after `afterId` (take LastJobId() before printing)
// to finish; with a title, for the first such job of that document name.
// A job goes through the queue in well under a second.
inline bool WaitForJobAfter(int afterId, Job& job, DWORD timeoutMs = 60000, const std::string& title = "") {
  DWORD start = GetTickCount();
  for (;;) {
    int last = LastJobId();
    for (int id = afterId + 1; id <= last; ++id)
      if (ReadJob(id, job) && (title.empty() || job.title == title)) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(100);
  }
}

inline std::vector<PRINTER_INFO_2W> LocalPrinters(std::vector<BYTE>& storage) {
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  storage.assign(needed + 1, 0);
  std::vector<PRINTER_INFO_2W> list;
  if (needed && EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, storage.data(), needed, &needed, &count)) {
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(storage.data());
    list.assign(info, info + count);
  }
  return list;
}

// While it lives, no process of this prefix sees a printer. Wine copies the
// CUPS printers into the prefix only in the first process that loads
// winspool while no other one has it loaded; this process takes that role
// (EnumPrinters), so the programs it starts do not bring the queue back.
// The destructor adds the printers again and restores the default; once the
// last winspool process ends, the next one copies them from CUPS anyway.
class NoPrinter {
 public:
  NoPrinter() {
    wchar_t def[256];
    DWORD n = 256;
    if (GetDefaultPrinterW(def, &n)) default_ = def;
    for (const PRINTER_INFO_2W& p : LocalPrinters(storage_)) {
      HANDLE h;
      PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
      if (!OpenPrinterW(p.pPrinterName, &h, &access)) continue;
      if (DeletePrinter(h)) saved_.push_back(p);
      ClosePrinter(h);
    }
  }
  ~NoPrinter() {
    for (PRINTER_INFO_2W p : saved_) {
      p.pSecurityDescriptor = nullptr;
      p.pDevMode = nullptr;
      HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&p));
      if (h) ClosePrinter(h);
    }
    if (!default_.empty()) SetDefaultPrinterW(default_.c_str());
  }
  NoPrinter(const NoPrinter&) = delete;
  NoPrinter& operator=(const NoPrinter&) = delete;

 private:
  std::vector<BYTE> storage_;
  std::vector<PRINTER_INFO_2W> saved_;
  std::wstring default_;
};

}  // namespace test_printer
