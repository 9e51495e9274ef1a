# Parsing Qt's and GoogleTest's headers is most of a source's compile time,
# and the build is most of a test run's. A target of many sources parses
# them once, into a precompiled header; the one-source widget tests reuse
# their support library's. LUDRA_PRECOMPILE=OFF builds without (to check that
# every source includes what it uses).
option(LUDRA_PRECOMPILE "Precompile the Qt and GoogleTest headers of the larger targets" ON)

set(LUDRA_CORE_HEADERS <QString> <QByteArray> <QStringList> <vector> <optional> <algorithm>)
set(LUDRA_WIDGET_HEADERS ${LUDRA_CORE_HEADERS}
    <QAction> <QDialog> <QLabel> <QLineEdit> <QPlainTextEdit> <QPushButton> <QStatusBar>)

# ludra_precompile(TARGET HEADERS...)
function(ludra_precompile target)
    if(LUDRA_PRECOMPILE)
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()

# ludra_precompile_like(TARGET OTHER): TARGET uses OTHER's precompiled
# header; both must be compiled with the same options.
function(ludra_precompile_like target other)
    if(LUDRA_PRECOMPILE)
        target_precompile_headers(${target} REUSE_FROM ${other})
    endif()
endfunction()

# A test program's own code is checked, not timed: an optimised build's
# tests compile it at -O1, which halves the code generation the assertion
# macros cost, while the libraries under test keep full optimisation.
function(ludra_quick_test_compile target)
    if(NOT LUDRA_SANITIZE AND NOT MSVC)
        target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-O1>)
    endif()
endfunction()
