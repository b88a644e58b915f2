# One target that carries the compiler options of every target in the project.
add_library(quenmark_options INTERFACE)
add_library(Quenmark::Options ALIAS quenmark_options)

target_compile_options(quenmark_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
  $<$<BOOL:${QUENMARK_WERROR}>:-Werror>
  # g++ 12 reports impossible overlaps inside libstdc++'s string concatenation at -O2/-O3 (its bug
  # 105651); the warning says nothing about our code there.
  $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>)

if(QUENMARK_SANITIZE STREQUAL "address")
  target_compile_options(quenmark_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quenmark_options INTERFACE -fsanitize=address,undefined)
elseif(QUENMARK_SANITIZE STREQUAL "thread")
  # -Wno-tsan: g++ warns that asio's atomic_thread_fence is not seen by ThreadSanitizer.
  target_compile_options(quenmark_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer
    $<$<CXX_COMPILER_ID:GNU>:-Wno-tsan>)
  target_link_options(quenmark_options INTERFACE -fsanitize=thread)
elseif(NOT QUENMARK_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QUENMARK_SANITIZE must be empty, 'address' or 'thread'")
endif()

if(QUENMARK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUENMARK_FUZZ needs clang (libFuzzer)")
  endif()
  target_compile_options(quenmark_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
