// The test printer end to end: Wine's default printer is the private CUPS
// queue, a printed document comes back as a PDF with its pages and text, and
// a test can take the printer away from the programs it starts.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "TestPrinter.h"

namespace {

const wchar_t kQueue[] = L"QuorvaPDF";

std::wstring DefaultPrinter()
{
    wchar_t name[256];
    DWORD n = 256;
    return GetDefaultPrinterW(name, &n) ? name : L"";
}

bool PrintPages(const std::wstring& printer, const wchar_t* document, int pages)
{
    HDC dc = CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, nullptr);
    if (!dc) return false;
    DOCINFOW doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = document;
    bool ok = StartDocW(dc, &doc) > 0;
    for (int page = 1; ok && page <= pages; ++page) {
        wchar_t text[64];
        swprintf(text, 64, L"Quorva probe page %d", page);
        ok = StartPage(dc) > 0 && TextOutW(dc, 300, 300, text, lstrlenW(text)) && EndPage(dc) > 0;
    }
    ok = ok && EndDoc(dc) > 0;
    if (!ok) AbortDoc(dc);
    DeleteDC(dc);
    return ok;
}

// Starts this program again with one test, as a test starts the real
// program, and returns the printers that child reported.
std::string PrintersSeenByChild()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring report = test_printer::OutputDir() + L"\\..\\child-printers.txt";
    DeleteFileW(report.c_str());
    SetEnvironmentVariableW(L"QUORVA_PROBE_REPORT", report.c_str());
    std::wstring cmd = L"\"" + std::wstring(self) + L"\" --gtest_filter=PrinterProbeChild.*";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    BOOL started = CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableW(L"QUORVA_PROBE_REPORT", nullptr);
    if (!started) return "not started";
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return test_printer::ReadFile(report);
}

// What the system's print dialog would start with: the default printer's
// name, or an empty name and the dialog's error code.
std::wstring PrintDialogDefault(DWORD* error)
{
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    *error = 0;
    if (!PrintDlgW(&pd)) {
        *error = CommDlgExtendedError();
        return L"";
    }
    std::wstring name;
    if (pd.hDevNames) {
        auto* names = static_cast<DEVNAMES*>(GlobalLock(pd.hDevNames));
        name = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
        GlobalUnlock(pd.hDevNames);
        GlobalFree(pd.hDevNames);
    }
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDC) {
        printf("printer DC: %d x %d dots at %d dpi\n", GetDeviceCaps(pd.hDC, HORZRES),
               GetDeviceCaps(pd.hDC, VERTRES), GetDeviceCaps(pd.hDC, LOGPIXELSX));
        DeleteDC(pd.hDC);
    }
    return name;
}

} // namespace

TEST(PrinterProbe, TheTestQueueIsWinesDefaultPrinter)
{
    ASSERT_FALSE(test_printer::OutputDir().empty()) << "QUORVA_PRINTER_OUT is not set";
    EXPECT_EQ(kQueue, DefaultPrinter());
    std::vector<BYTE> storage;
    std::vector<PRINTER_INFO_2W> printers = test_printer::LocalPrinters(storage);
    ASSERT_EQ(1u, printers.size());
    EXPECT_STREQ(L"CUPS:QuorvaPDF", printers[0].pPortName);
    DWORD error;
    EXPECT_EQ(kQueue, PrintDialogDefault(&error));
}

TEST(PrinterProbe, TwoPagesComeBackAsPdfWithTheirText)
{
    int last = test_printer::LastJobId();
    DWORD start = GetTickCount();
    ASSERT_TRUE(PrintPages(DefaultPrinter(), L"Quorva probe", 2));
    test_printer::Job job;
    ASSERT_TRUE(test_printer::WaitForJobAfter(last, job)) << "no output after 60 s";
    printf("printed and converted in %lu ms\n", GetTickCount() - start);
    EXPECT_EQ("Quorva probe", job.title);
    EXPECT_EQ(2, job.pages);
    ASSERT_EQ(2u, job.pageTexts.size());
    EXPECT_NE(std::string::npos, job.pageTexts[0].find("Quorva probe page 1"));
    EXPECT_NE(std::string::npos, job.pageTexts[1].find("Quorva probe page 2"));
    EXPECT_EQ(std::string::npos, job.pageTexts[0].find("page 2"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(job.pdf.c_str()));
}

TEST(PrinterProbe, NoPrinterForStartedProgramsUntilRestored)
{
    EXPECT_EQ("QuorvaPDF;default=QuorvaPDF", PrintersSeenByChild());
    {
        test_printer::NoPrinter none;
        EXPECT_EQ(L"", DefaultPrinter());
        std::vector<BYTE> storage;
        EXPECT_TRUE(test_printer::LocalPrinters(storage).empty());
        DWORD error;
        EXPECT_EQ(L"", PrintDialogDefault(&error));
        EXPECT_EQ(static_cast<DWORD>(PDERR_NODEFAULTPRN), error);
        // The CUPS server still runs; the started program must not fetch
        // the queue again.
        EXPECT_EQ("default=", PrintersSeenByChild());
    }
    EXPECT_EQ(kQueue, DefaultPrinter());
    EXPECT_EQ("QuorvaPDF;default=QuorvaPDF", PrintersSeenByChild());
    // The restored printer still reaches the queue.
    int last = test_printer::LastJobId();
    ASSERT_TRUE(PrintPages(kQueue, L"Quorva probe again", 1));
    test_printer::Job job;
    ASSERT_TRUE(test_printer::WaitForJobAfter(last, job, 60000, "Quorva probe again"));
    EXPECT_EQ(1, job.pages);
}

// Run only as the child of the test above: reports the printers it sees.
TEST(PrinterProbeChild, ReportsPrinters)
{
    wchar_t report[MAX_PATH];
    if (!GetEnvironmentVariableW(L"QUORVA_PROBE_REPORT", report, MAX_PATH)) GTEST_SKIP();
    std::vector<BYTE> storage;
    std::wstring seen;
    for (const PRINTER_INFO_2W& p : test_printer::LocalPrinters(storage)) seen += std::wstring(p.pPrinterName) + L";";
    seen += L"default=" + DefaultPrinter();
    FILE* f = _wfopen(report, L"wb");
    ASSERT_NE(nullptr, f);
    fputs(std::string(seen.begin(), seen.end()).c_str(), f);
    fclose(f);
}
