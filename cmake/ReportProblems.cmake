# How the boundary checks end: every problem on a line of its own, then a
# failure that counts them, "<count> <what they are>". Nothing when there are none.
#   tarvo_report_problems("<what they are>" ${problems})
function(tarvo_report_problems WHAT)
    if(NOT ARGN)
        return()
    endif()
    foreach(problem ${ARGN})
        message(NOTICE "${problem}")
    endforeach()
    list(LENGTH ARGN count)
    message(FATAL_ERROR "${count} ${WHAT}")
endfunction()
