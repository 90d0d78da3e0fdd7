#pragma once
// PRIVATE HEADER: only src/assets (and its tests and benchmarks) include this.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "assets/texture.h"
#include "assets/texture_manager.h"

// Reads pictures on a second thread while the main thread goes on building.
// Reading a picture and making its mipmap levels is half of what building
// the castle costs, and the second core is otherwise idle. The thread first
// reads every file, in the order asked, then makes their mipmap levels; the
// main thread takes each picture once it is read and uploads it once its
// levels are made. Nothing is reported from the other thread: a picture
// that cannot be read there is not handed out, and the usual load reads it
// again and says why.
class TexturePreload {
public:
    // fileName is the path to open.
    using Request = TextureRequest;

    explicit TexturePreload(std::vector<Request> requests);
    // Waits for the thread. Textures not taken are deleted; taken ones
    // belong to the taker.
    ~TexturePreload();
    TexturePreload(const TexturePreload&) = delete;
    TexturePreload& operator=(const TexturePreload&) = delete;

    // The texture read from file with these settings, waiting while it is
    // still being read; its mipmap levels may still be in the making, so it
    // is not to be used before levelsMade(). It now belongs to the caller,
    // who must not delete it before this object's end. Null when it was not
    // asked for with these settings, was taken already or could not be read.
    Texture* take(const std::string& file, bool mipmap, unsigned filterQuality, std::uint8_t solid);
    // Waits until the levels of a texture handed out by take() are made;
    // then it can be uploaded.
    void levelsMade(const Texture* texture);

private:
    void run();
    bool stopping();
    void publish(std::size_t& counter, std::size_t done);

    std::vector<Request> m_requests;
    // Made by the thread (null when not read); those not handed out are
    // deleted at the end.
    std::vector<Texture*> m_vpRead;
    std::vector<bool> m_taken;
    std::size_t m_uiRead = 0;     // requests read (or failed), in order
    std::size_t m_uiLeveled = 0;  // requests with levels made, in order
    bool m_bStopping = false;
    std::mutex m_mutex;
    std::condition_variable m_progress;
    std::thread m_thread;
};
