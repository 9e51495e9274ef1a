# One place for the warning flags every target of the project builds with.
add_library(ludra_warnings INTERFACE)
if(MSVC)
    target_compile_options(ludra_warnings INTERFACE /W4 /permissive- /utf-8)
else()
    target_compile_options(ludra_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
endif()
