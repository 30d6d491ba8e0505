# Translations of a program's own texts: Qt Linguist sources (.ts) in translations/, compiled
# to .qm by lrelease at build time, embedded in the program as resources under :/i18n/ (so a
# portable copy carries them) and installed into share/kestrune/translations/ (so a packager
# or translator can replace one without a rebuild).
#
#   kestrune_add_translations(<target> TS_FILES translations/foo_en.ts [...])
#
# The program loads ":/i18n/foo_en.qm" (or the installed file of that name first). A test
# (translations_complete_<file>, in tests/) runs lrelease on each file and fails when one holds
# an unfinished or missing translation.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)
include(GNUInstallDirs)

function(kestrune_add_translations target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "TS_FILES")
    if(NOT arg_TS_FILES)
        message(FATAL_ERROR "kestrune_add_translations(${target}) needs TS_FILES")
    endif()
    set(sources)
    foreach(ts IN LISTS arg_TS_FILES)
        get_filename_component(absolute ${ts} ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
        list(APPEND sources ${absolute})
    endforeach()
    set(qm_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_i18n)
    set_source_files_properties(${sources} PROPERTIES OUTPUT_LOCATION ${qm_dir})
    qt6_add_lrelease(${target} TS_FILES ${sources} QM_FILES_OUTPUT_VARIABLE qm_files)
    qt6_add_resources(${target} ${target}_translations
        PREFIX /i18n
        BASE ${qm_dir}
        FILES ${qm_files})
    install(FILES ${qm_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrune/translations)
    # tests/ checks every file listed here (lrelease reports nothing unfinished).
    set_property(GLOBAL APPEND PROPERTY KESTRUNE_TRANSLATION_SOURCES ${sources})
endfunction()
