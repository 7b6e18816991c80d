#pragma once
// A folder of files made for one test and removed with everything in it.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        static unsigned counter = 0;
        path_ = std::wstring(base) + L"tunerolle-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"\\";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTree(path_); }

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

    std::wstring MakeFolder(const std::wstring& name) const {
        std::wstring folder = path_ + name + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }
    std::wstring MakeFile(const std::wstring& name, const std::string& bytes = {}) const {
        std::wstring file = path_ + name;
        WriteBytes(file, bytes);
        return file;
    }

    static bool WriteBytes(const std::wstring& file, const std::string& bytes) {
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        bool ok = bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                    written == bytes.size());
        CloseHandle(h);
        return ok;
    }
    static std::string ReadBytes(const std::wstring& file) {
        std::string bytes;
        HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return bytes;
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        CloseHandle(h);
        return bytes;
    }
    // The names of a folder's entries, sorted.
    static std::vector<std::wstring> Names(const std::wstring& folder) {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (FindNextFileW(find, &found));
        FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }
    static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW found{};
        HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                std::wstring path = folder + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(path + L"\\");
                } else {
                    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(path.c_str());
                }
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }

private:
    std::wstring path_;
};
