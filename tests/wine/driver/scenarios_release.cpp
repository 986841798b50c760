// What the release package promises of its executables: the version resources of quillstep.exe
// and of quillstep-cli.exe beside it name the product and carry the version of CMakeLists.txt
// (compiled into the driver from the same quillstep_version.h), in the numbers and in the texts.

#include <cstdio>
#include <string>
#include <vector>

#include "quillstep_version.h"
#include "scenarios.h"

namespace driver {

namespace {

struct VersionResource {
    std::vector<BYTE> bytes;

    std::string text(const wchar_t* name) const {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueW(bytes.data(), path.c_str(), &value, &length) || length == 0) return {};
        return narrow(std::wstring(static_cast<const wchar_t*>(value), length - 1));
    }

    std::string fileVersionNumbers() const {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(bytes.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return {};
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
               "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
               std::to_string(LOWORD(fixed->dwFileVersionLS));
    }
};

VersionResource versionResourceOf(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    expect(size > 0, narrow(path) + " has no version resource");
    VersionResource resource;
    resource.bytes.resize(size);
    expect(GetFileVersionInfoW(path.c_str(), 0, size, resource.bytes.data()) != FALSE,
           narrow(path) + ": its version resource cannot be read");
    return resource;
}

void expectVersionResource(const std::wstring& path, const std::string& fileName) {
    const VersionResource resource = versionResourceOf(path);
    const std::string version = QUILLSTEP_VERSION_TEXT;
    std::printf("%s: %s %s, \"%s\"\n", fileName.c_str(), resource.text(L"ProductName").c_str(),
                resource.text(L"FileVersion").c_str(), resource.text(L"FileDescription").c_str());
    expectEqual(resource.text(L"ProductName"), "Quillstep", fileName + " product name");
    expectEqual(resource.text(L"FileVersion"), version, fileName + " file version");
    expectEqual(resource.text(L"ProductVersion"), version, fileName + " product version");
    expectEqual(resource.fileVersionNumbers(), version + ".0", fileName + " file version numbers");
    expectEqual(resource.text(L"OriginalFilename"), fileName, fileName + " original file name");
    expect(resource.text(L"FileDescription").rfind("Quillstep", 0) == 0,
           fileName + ": the description does not start with the product's name");
}

void versionResources(const DriverOptions& options) {
    const std::wstring folder = options.programPath.substr(0, options.programPath.find_last_of(L"\\/"));
    expectVersionResource(options.programPath, "quillstep.exe");
    expectVersionResource(folder + L"\\quillstep-cli.exe", "quillstep-cli.exe");
}

constexpr Scenario RELEASE_SCENARIOS[] = {
    {"version-resource", "quillstep.exe and quillstep-cli.exe beside it carry the version of CMakeLists.txt",
     versionResources},
};

}  // namespace

std::span<const Scenario> releaseScenarios() { return RELEASE_SCENARIOS; }

}  // namespace driver
