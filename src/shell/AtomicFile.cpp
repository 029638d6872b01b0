#include "shell/AtomicFile.h"

#include "shell/Platform.h"

#include <filesystem>
#include <fstream>

bool writeFileAtomically(const std::string& file_path, std::string_view contents) {
    const std::string temporary = file_path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return false;
        file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        file.close();
        if (!file) {
            std::error_code ignored; // nothing more to do if even the clean-up fails
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    // Truncating the real file and then writing could leave it empty after a crash at the wrong
    // moment; a rename replaces it in one step.
    std::error_code error;
    std::filesystem::rename(temporary, file_path, error);
    std::error_code ignored;
    if (error) {
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    keepFile(file_path, contents);
    return true;
}
