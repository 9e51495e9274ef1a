# One place for the warning flags every target of the project builds with.
add_library(ludra_warnings INTERFACE)
target_compile_options(ludra_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
