#include "app/app_settings.h"

namespace {
AppSettings* g_appSettings = nullptr;
}

AppSettings* appSettings() {
    return g_appSettings;
}

AppSettings::AppSettings() {
    g_appSettings = this;
}

AppSettings::~AppSettings() {
    if (g_appSettings == this) {
        g_appSettings = nullptr;
    }
}
