// quillstep-driver: runs one scenario against quillstep.exe and reports PASS or FAIL.
//
//   quillstep-driver <scenario> [--program <quillstep.exe>] [--pictures <folder>]
//   quillstep-driver --list
//
// The program runs in a fresh folder under the temporary folder, removed again after a pass.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "scenarios.h"

namespace {

using driver::Scenario;

std::vector<Scenario> allScenarios() {
    std::vector<Scenario> all;
    for (auto group : {driver::mainWindowScenarios(), driver::commandScenarios(), driver::fontScenarios(),
                       driver::smallerSystemsScenarios(), driver::checkSystemScenarios(),
                       driver::releaseScenarios(), driver::valuesScenarios(),
                       driver::pastDrawsScenarios(), driver::wheelScenarios()})
        all.insert(all.end(), group.begin(), group.end());
    return all;
}

std::wstring folderOfThisProgram() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring freshWorkFolder(const char* scenario) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"quillstep-" + driver::wide(scenario) + L"-" +
                                std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void removeFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

int usage(const std::vector<Scenario>& scenarios) {
    std::printf("usage: quillstep-driver <scenario> [--program <quillstep.exe>] [--pictures <folder>]\nscenarios:\n");
    for (const Scenario& s : scenarios) std::printf("  %-22s %s\n", s.name, s.purpose);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<Scenario> scenarios = allScenarios();
    if (argc < 2) return usage(scenarios);
    const std::string name = driver::narrow(argv[1]);
    if (name == "--list") {
        for (const Scenario& s : scenarios) std::printf("%s\n", s.name);
        return 0;
    }
    driver::DriverOptions options;
    options.programPath = folderOfThisProgram() + L"\\quillstep.exe";
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        if (option == L"--program") options.programPath = argv[i + 1];
        else if (option == L"--pictures") options.pictureFolder = argv[i + 1];
        else return usage(scenarios);
    }
    const Scenario* chosen = nullptr;
    for (const Scenario& s : scenarios)
        if (name == s.name) chosen = &s;
    if (!chosen) return usage(scenarios);

    options.workFolder = freshWorkFolder(chosen->name);
    const auto started = std::chrono::steady_clock::now();
    try {
        chosen->run(options);
    } catch (const std::exception& failure) {
        std::printf("FAIL %s: %s\n(working folder kept: %s)\n", chosen->name, failure.what(),
                    driver::narrow(options.workFolder).c_str());
        std::fflush(stdout);
        return 1;
    }
    removeFolder(options.workFolder);
    std::printf("PASS %s (%.1f s)\n", chosen->name,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    return 0;
}
