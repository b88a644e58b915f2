# One target that carries the compiler options of every target in the project.
add_library(quenmark_options INTERFACE)
add_library(Quenmark::Options ALIAS quenmark_options)

target_compile_options(quenmark_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
  $<$<BOOL:${QUENMARK_WERROR}>:-Werror>)

if(QUENMARK_SANITIZE STREQUAL "address")
  target_compile_options(quenmark_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quenmark_options INTERFACE -fsanitize=address,undefined)
elseif(QUENMARK_SANITIZE STREQUAL "thread")
  target_compile_options(quenmark_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(quenmark_options INTERFACE -fsanitize=thread)
elseif(NOT QUENMARK_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QUENMARK_SANITIZE must be empty, 'address' or 'thread'")
endif()

set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
