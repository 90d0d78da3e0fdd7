// Decoding cost of music: a whole OGG file decoded into memory (what a sound
// slot made from an OGG file does), and one refill pass of a stream's ring
// (what the streaming thread does every 400 ms). Reported as PCM bytes/s.
#include <AL/al.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "audio/audio_buffer.h"
#include "audio/audio_manager.h"
#include "audio/audio_stream.h"

namespace {

// Ten seconds of 44.1 kHz stereo music, encoded by independent tools.
const std::string& musicFile() {
    static std::string path;
    if (path.empty()) {
        char dir[] = "/tmp/bench_audio_XXXXXX";
        if (mkdtemp(dir) == nullptr) {
            std::abort();
        }
        path = std::string(dir) + "/music.ogg";
        std::string command = std::string("sox -q -n -r 44100 -c 2 -b 16 ") + dir +
                              "/music.wav synth 10 sine 220-880 vol 0.5 && oggenc -Q -o " + path +
                              " " + dir + "/music.wav";
        if (std::system(command.c_str()) != 0) {
            std::abort();
        }
    }
    return path;
}

void BM_DecodeWholeOgg(benchmark::State& state) {
    const std::string& path = musicFile();
    std::string pcm;
    int channels = 0;
    long rate = 0;
    for (auto _ : state) {
        if (!decodeOggFile(path, pcm, channels, rate)) {
            state.SkipWithError("decoding failed");
            break;
        }
        benchmark::DoNotOptimize(pcm.data());
        state.SetBytesProcessed(state.bytes_processed() + static_cast<int64_t>(pcm.size()));
    }
}
BENCHMARK(BM_DecodeWholeOgg)->Unit(benchmark::kMillisecond);

// The game's ring: 3 buffers of 40960 bytes, all refilled in one pass (the
// worst case: the source played the whole ring since the last pass).
void BM_StreamRefillPass(benchmark::State& state) {
    const std::string& path = musicFile();
    std::string conf = path + ".alsoft.conf";
    std::ofstream(conf) << "[general]\ndrivers=null\n";
    setenv("ALSOFT_CONF", conf.c_str(), 1);

    AudioManager manager;
    manager.init();
    {
        AudioStream stream(40960, 3);
        if (manager.isSilent() || !stream.open(path, true)) {
            state.SkipWithError("no stream");
            return;
        }
        ALuint buffers[3];
        alGenBuffers(3, buffers);
        for (auto _ : state) {
            for (ALuint buffer : buffers) {
                benchmark::DoNotOptimize(stream.fill(buffer));
            }
        }
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 3 * 40960);
        alDeleteBuffers(3, buffers);
    }
    manager.shutdown();
}
BENCHMARK(BM_StreamRefillPass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
