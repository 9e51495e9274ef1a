# Runs at test time (CTest includes it): asks a Qt Test program for its test
# functions and registers each as a test of its own, so that a failure names
# the function and the time limit bounds one function, not the whole program.
# The caller sets qtest_target, qtest_executable, qtest_list_file,
# qtest_environment (a list), qtest_timeout and qtest_env_command (the
# `cmake -E env` prefix that gives the listing run the same environment).
#
# The list is kept in qtest_list_file and asked again only when the program
# is newer than it.

if(NOT EXISTS "${qtest_executable}")
    # Not built yet: one test that fails and says so.
    add_test("${qtest_target}_NOT_BUILT" "${qtest_target}_NOT_BUILT")
    return()
endif()

if(NOT EXISTS "${qtest_list_file}" OR "${qtest_executable}" IS_NEWER_THAN "${qtest_list_file}")
    execute_process(
        COMMAND ${qtest_env_command} "${qtest_executable}" -functions
        OUTPUT_VARIABLE qtest_output
        ERROR_VARIABLE qtest_errors
        RESULT_VARIABLE qtest_result
        TIMEOUT 120)
    if(NOT qtest_result EQUAL 0)
        message(WARNING "${qtest_executable} -functions failed (${qtest_result}): ${qtest_errors}")
        add_test("${qtest_target}_NOT_LISTED" "${qtest_executable}" -functions)
        return()
    endif()
    # Each function is a line "name()"; data-driven functions run all rows.
    string(REGEX MATCHALL "[A-Za-z_][A-Za-z_0-9]*\\(\\)" qtest_calls "${qtest_output}")
    set(qtest_functions "")
    foreach(qtest_call IN LISTS qtest_calls)
        string(REPLACE "()" "" qtest_function "${qtest_call}")
        list(APPEND qtest_functions "${qtest_function}")
    endforeach()
    file(WRITE "${qtest_list_file}" "${qtest_functions}")
endif()

file(READ "${qtest_list_file}" qtest_functions)
foreach(qtest_function IN LISTS qtest_functions)
    set(qtest_name "${qtest_target}.${qtest_function}")
    add_test("${qtest_name}" "${qtest_executable}" "${qtest_function}")
    set_tests_properties("${qtest_name}" PROPERTIES
        ENVIRONMENT "${qtest_environment}"
        TIMEOUT "${qtest_timeout}")
endforeach()
