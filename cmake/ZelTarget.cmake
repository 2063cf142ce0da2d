# Common compile settings for every target of the project.
function(zel_target_settings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(CMAKE_CROSSCOMPILING)
        # GCC 12 for mingw-w64 warns of overlapping copies inside its own
        # std::string at -O3, where there are none.
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(ZEL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(ZEL_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined
                                                 -fno-sanitize-recover=all -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
    if(ZEL_FUZZ)
        # Coverage for the fuzzers reaches into every library they link.
        target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()
