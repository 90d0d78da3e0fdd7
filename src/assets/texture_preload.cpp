#include "assets/texture_preload.h"

#include <new>
#include <system_error>
#include <utility>

TexturePreload::TexturePreload(std::vector<Request> requests)
    : m_requests(std::move(requests)),
      m_vpRead(m_requests.size(), nullptr),
      m_taken(m_requests.size(), false) {
    try {
        m_thread = std::thread(&TexturePreload::run, this);
    } catch (const std::system_error&) {
        // No thread: nothing is handed out and the pictures load as usual.
        m_uiRead = m_uiLeveled = m_requests.size();
    }
}

TexturePreload::~TexturePreload() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopping = true;
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    for (std::size_t i = 0; i < m_vpRead.size(); ++i) {
        if (!m_taken[i]) {
            delete m_vpRead[i];
        }
    }
}

bool TexturePreload::stopping() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bStopping;
}

void TexturePreload::publish(std::size_t& counter, std::size_t done) {
    std::lock_guard<std::mutex> lock(m_mutex);
    counter = done;
    m_progress.notify_all();
}

// Only this thread touches a texture between its read and its levels being
// published; the main thread waits for each step before it looks.
void TexturePreload::run() {
    const std::size_t count = m_requests.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (stopping()) {
            break;
        }
        const Request& request = m_requests[i];
        auto* texture =
            new (std::nothrow) Texture(request.mipmap, request.filterQuality, request.solid);
        if (texture != nullptr && !texture->readQuietly(request.fileName)) {
            delete texture;
            texture = nullptr;
        }
        m_vpRead[i] = texture;
        publish(m_uiRead, i + 1);
    }
    publish(m_uiRead, count);
    for (std::size_t i = 0; i < count; ++i) {
        if (m_vpRead[i] != nullptr && !stopping()) {
            m_vpRead[i]->makeMipmapLevels();
        }
        publish(m_uiLeveled, i + 1);
    }
}

Texture* TexturePreload::take(const std::string& file, bool mipmap, unsigned filterQuality,
                              std::uint8_t solid) {
    for (std::size_t i = 0; i < m_requests.size(); ++i) {
        const Request& request = m_requests[i];
        if (request.fileName != file || request.mipmap != mipmap ||
            request.filterQuality != filterQuality || request.solid != solid) {
            continue;
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        m_progress.wait(lock, [&] { return m_uiRead > i; });
        if (m_vpRead[i] != nullptr && !m_taken[i]) {
            m_taken[i] = true;
            return m_vpRead[i];
        }
    }
    return nullptr;
}

void TexturePreload::levelsMade(const Texture* texture) {
    for (std::size_t i = 0; i < m_vpRead.size(); ++i) {
        if (m_taken[i] && m_vpRead[i] == texture) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_progress.wait(lock, [&] { return m_uiLeveled > i; });
            return;
        }
    }
}
