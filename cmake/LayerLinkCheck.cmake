# kestrune_check_layer_links(LIBRARY...): for each static library, a program that links every
# object of it (not only those a caller happens to use) together with its own dependencies and
# nothing else. A library that calls into code it does not link, such as a folder above it,
# then fails the build with the missing symbols named. The programs do nothing when run.
function(kestrune_check_layer_links)
    foreach(library ${ARGN})
        set(check link_check_${library})
        add_executable(${check} ${PROJECT_SOURCE_DIR}/cmake/LinkCheckMain.cpp)
        target_link_libraries(${check} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${library}>")
    endforeach()
endfunction()
