# Settings every target of the project shares.
add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_17)
target_compile_options(project_options INTERFACE -Wall -Wextra)
# CI turns warnings in the project's own code into errors, so they cannot pile up.
if(LAUNCHER_WERROR)
    target_compile_options(project_options INTERFACE -Werror)
endif()
target_compile_definitions(project_options INTERFACE
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_BEFORE=0x050F00
    QT_USE_QSTRINGBUILDER)

# Compiles a list of publisher public keys into a program's main.cpp (see
# LAUNCHER_PUBLISHER_KEYS); an empty list builds a program that checks no signatures.
function(lunmere_publisher_keys target keys)
    foreach(key ${keys})
        if(NOT key MATCHES "^[A-Za-z0-9+/]+=*$")
            message(FATAL_ERROR "publisher key \"${key}\" is not a base64 Ed25519 public key")
        endif()
    endforeach()
    string(REPLACE ";" "," text "${keys}")
    target_compile_definitions(${target} PRIVATE LUNMERE_PUBLISHER_KEYS="${text}")
endfunction()

