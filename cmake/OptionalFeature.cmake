# Parts of the build that only developers need (the tests, the benchmarks,
# scene import, the offline renderer) are features: a cache entry that is
# AUTO by default (on where its packages were found), ON (its packages must
# be found, or the configuration stops saying what to install) or OFF.
#   tarvo_optional_feature(NAME DESCRIPTION FOUND PACKAGES [SET])
# FOUND is true when the feature's packages were found, PACKAGES names the
# Debian packages that provide them and SET the set of scripts/bootstrap.sh
# that installs them ("test" if not given). NAME becomes ON or OFF for the
# rest of the configuration, and a status line tells which and why.
function(tarvo_optional_feature NAME DESCRIPTION FOUND PACKAGES)
    set(packages_set test)
    if(ARGC GREATER 4)
        set(packages_set ${ARGV4})
    endif()
    set(${NAME} AUTO CACHE STRING "${DESCRIPTION}: AUTO (where ${PACKAGES} are installed), ON or OFF")
    set_property(CACHE ${NAME} PROPERTY STRINGS AUTO ON OFF)
    set(value $CACHE{${NAME}})
    string(TOUPPER "${value}" value)
    if(value STREQUAL "AUTO")
        if(FOUND)
            set(enabled ON)
            set(reason "found ${PACKAGES}")
        else()
            set(enabled OFF)
            set(reason "${PACKAGES} not installed; scripts/bootstrap.sh ${packages_set} installs them")
        endif()
    elseif(value)
        if(NOT FOUND)
            message(FATAL_ERROR "${NAME} is ON but ${PACKAGES} are not installed: run "
                                "scripts/bootstrap.sh ${packages_set}, or configure with -D${NAME}=AUTO")
        endif()
        set(enabled ON)
        set(reason "asked for")
    else()
        set(enabled OFF)
        set(reason "turned off")
    endif()
    message(STATUS "Tarvo: ${DESCRIPTION} ${enabled} (${NAME}=${value}: ${reason})")
    set(${NAME} ${enabled} PARENT_SCOPE)
endfunction()
