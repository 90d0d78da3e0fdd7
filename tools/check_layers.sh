#!/bin/sh
# Fails when SDL is included outside src/platform, when a subsystem
# includes one that sits above it, or when a folder includes another
# folder's private header. Allowed directions (each may use those
# listed after it): game -> gui -> assets/audio/input -> scene -> app -> platform.
cd "$(dirname "$0")/.."
status=0

sdl=$(grep -rnE '#\s*include\s*[<"]SDL' src tests tools bench 2>/dev/null | grep -v '^src/platform/' || true)
if [ -n "$sdl" ]; then
    echo "SDL is included outside src/platform:"
    echo "$sdl"
    status=1
fi

forbidden() {  # subsystem, then the subsystems it must not include
    dir=$1; shift
    for above in "$@"; do
        hits=$(grep -rnE "#\s*include\s*\"$above/" "src/$dir" 2>/dev/null || true)
        if [ -n "$hits" ]; then
            echo "src/$dir must not include $above/:"
            echo "$hits"
            status=1
        fi
    done
}
forbidden platform app scene assets audio input gui game
forbidden app scene assets audio input gui game
forbidden scene assets audio input gui game
forbidden assets audio input gui game
forbidden audio assets input gui game
forbidden input assets audio gui game
forbidden gui game

# A header marked "// PRIVATE HEADER:" belongs to its folder: no other folder
# under src/ may include it. Tests, tools and benchmarks may look inside.
for header in $(grep -rl '^// PRIVATE HEADER:' src --include='*.h'); do
    folder=$(dirname "$header")
    name=${header#src/}
    hits=$(grep -rnF "\"$name\"" src | grep -E '#\s*include' | grep -v "^$folder/" || true)
    if [ -n "$hits" ]; then
        echo "$name is private to $folder:"
        echo "$hits"
        status=1
    fi
done
exit $status
