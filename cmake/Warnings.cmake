# Warnings and sanitizers applied to every target of the project.
add_library(spookhollow_options INTERFACE)
target_compile_options(spookhollow_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wformat=2 -Wnull-dereference -Wimplicit-fallthrough)
if(SPOOKHOLLOW_WERROR)
    target_compile_options(spookhollow_options INTERFACE -Werror)
endif()
if(SPOOKHOLLOW_SANITIZE)
    target_compile_options(spookhollow_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(spookhollow_options INTERFACE -fsanitize=address,undefined)
endif()
