# Writes a help2man include file with a COMMANDS section: each command that
# the program's --help lists, with that command's own --help, kept as the
# program lays it out.
#
# cmake -DPROGRAM=path/to/ludra-lang -DOUTPUT=commands.h2m -P ManPageCommands.cmake
execute_process(COMMAND ${PROGRAM} --help
    OUTPUT_VARIABLE overview RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed")
endif()

# The command names: the first word of each indented line under "Commands:".
string(REGEX MATCH "Commands:\n(  [^\n]*\n)+" listing "${overview}")
string(REGEX MATCHALL "\n  [a-z]+" names "${listing}")
if(NOT names)
    message(FATAL_ERROR "${PROGRAM} --help lists no commands")
endif()

set(text "[COMMANDS]\n")
foreach(name IN LISTS names)
    string(STRIP "${name}" name)
    execute_process(COMMAND ${PROGRAM} ${name} --help
        OUTPUT_VARIABLE help RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} ${name} --help failed")
    endif()
    # roff: a backslash is written \e; a line may not start with . or '.
    string(REPLACE "\\" "\\e" help "${help}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
    string(APPEND text ".SS ${name}\n.nf\n${help}.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
