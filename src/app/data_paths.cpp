#include "app/data_paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Relative to the folder that holds the executable.
const char* const INSTALLED_DATA = "../share/games/spookhollow";
const char* const FOLDER_NAME = "spookhollow";

bool isAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

// The XDG base directory rules: a relative XDG_DATA_HOME is ignored.
std::string dataHome(const EnvironmentLookup& environment) {
    const char* xdg = environment("XDG_DATA_HOME");
    if (isAbsolute(xdg)) {
        return xdg;
    }
    const char* home = environment("HOME");
    if (isAbsolute(home)) {
        return std::string(home) + "/.local/share";
    }
    return "";
}

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

}  // namespace

std::string DataPaths::savePath(const std::string& name) const {
    if (!installed) {
        return "save/" + name;
    }
    return writeFolder + "/save/" + name;
}

std::string DataPaths::mapsFolder() const {
    return installed ? writeFolder + "/maps" : "maps";
}

std::string DataPaths::logName() const {
    return installed ? writeFolder + "/ErrorLog" : "ErrorLog";
}

DataPaths resolveDataPaths(const std::string& executablePath,
                           const EnvironmentLookup& environment) {
    DataPaths paths;
    if (executablePath.empty()) {
        return paths;
    }
    fs::path data = fs::path(executablePath).parent_path() / INSTALLED_DATA;
    if (!isFolder(data / "resources")) {
        return paths;
    }
    std::error_code error;
    fs::path canonical = fs::canonical(data, error);
    paths.installed = true;
    paths.dataFolder = error ? data.lexically_normal().string() : canonical.string();
    std::string home = dataHome(environment);
    if (!home.empty()) {
        paths.writeFolder = home + "/" + FOLDER_NAME;
    }
    return paths;
}

DataPaths resolveDataPaths() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return resolveDataPaths(error ? std::string() : executable.string(),
                            [](const char* name) { return std::getenv(name); });
}

bool applyDataPaths(const DataPaths& paths, std::string& failure) {
    if (!paths.installed) {
        return true;
    }
    failure.clear();
    std::error_code error;
    if (paths.writeFolder.empty()) {
        failure = "No home folder: neither XDG_DATA_HOME nor HOME names one.";
    } else {
        for (const char* folder : {"/save", "/maps"}) {
            fs::create_directories(paths.writeFolder + folder, error);
            if (error) {
                failure =
                    "Can not create " + paths.writeFolder + folder + ": " + error.message() + ".";
                break;
            }
        }
    }
    fs::current_path(paths.dataFolder, error);
    if (error) {
        failure += (failure.empty() ? "" : " ") + std::string("Can not enter ") + paths.dataFolder +
                   ": " + error.message() + ".";
    }
    return failure.empty();
}
