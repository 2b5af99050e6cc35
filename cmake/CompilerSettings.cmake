# One interface target carries the warning set and the Qt strictness defines;
# every target of the project links it.
add_library(elh_config INTERFACE)
target_compile_features(elh_config INTERFACE cxx_std_20)
target_compile_options(elh_config INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(elh_config INTERFACE -Wshadow=local)
endif()
if(ELH_WERROR)
    target_compile_options(elh_config INTERFACE -Werror)
endif()
target_compile_definitions(elh_config INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_STRICT_ITERATORS)

if(ELH_SANITIZE)
    target_compile_options(elh_config INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(elh_config INTERFACE -fsanitize=address,undefined)
endif()

if(ELH_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "ELH_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    # Every library of the fuzz build carries coverage instrumentation;
    # the fuzz executables add the libFuzzer driver themselves.
    target_compile_options(elh_config INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(elh_config INTERFACE -fsanitize=address,undefined)
endif()
