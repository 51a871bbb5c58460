# wertomat_public_headers(<target> <header>...): what the target's users may
# include, by the headers' paths from the source root ("core/tabulation.h"),
# and nothing else of the tree. Each header is linked into an include folder
# of the target's own in the build tree, the target's public include path.
# A library whose own sources need more names it with a private path.
function(wertomat_public_headers target)
    set(folder ${PROJECT_BINARY_DIR}/public/${target})
    foreach(header ${ARGN})
        get_filename_component(parent ${folder}/${header} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${header} ${folder}/${header} SYMBOLIC)
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL INTERFACE_LIBRARY)
        target_include_directories(${target} INTERFACE ${folder})
    else()
        target_include_directories(${target} PUBLIC ${folder})
    endif()
endfunction()
