# Releases: one version, the project's, in the programs' version resources, in
# `dashcfg --version` and in the package names; install rules and CPack packages.
#   Windows (windows-release preset): a zip with DashCamSetting.exe, dashcfg.exe, a read-me
#     and the licence.
#   Linux (linux-release preset): dashcfg with its manual page, shell completion for bash, zsh
#   and fish, and the licence, as a .deb and
#     a tarball.
# scripts/release.sh builds both through the workflow presets and checks what they hold.

set(DCS_PRODUCT_NAME "Dash cam settings editor")
set(DCS_COMPANY_NAME "DashCamSetting contributors")
set(DCS_COPYRIGHT "Copyright (c) 2026 DashCamSetting contributors. MIT licence.")

# A version resource holds four numbers: 1.0 is 1,0,0,0.
set(DCS_VERSION_NUMBERS)
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND DCS_VERSION_NUMBERS 0)
  else()
    list(APPEND DCS_VERSION_NUMBERS ${PROJECT_VERSION_${part}})
  endif()
endforeach()
string(JOIN "," DCS_VERSION_COMMAS ${DCS_VERSION_NUMBERS})

# Builds a version resource into a Windows program: what its file properties show.
function(dcs_add_version_resource target description)
  set(DCS_FILE_DESCRIPTION "${description}")
  set(DCS_INTERNAL_NAME ${target})
  set(DCS_ORIGINAL_FILE_NAME ${target}.exe)
  set(script ${CMAKE_BINARY_DIR}/version-resources/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/version.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
endfunction()

if(TARGET dashcfg)
  target_compile_definitions(dashcfg PRIVATE DCS_VERSION="${PROJECT_VERSION}")
  if(WIN32)
    dcs_add_version_resource(dashcfg "Dash cam settings from the command line")
  endif()
endif()
if(TARGET DashCamSetting)
  dcs_add_version_resource(DashCamSetting "${DCS_PRODUCT_NAME}")
endif()

if(DCS_TESTS AND NOT DCS_FUZZ AND TARGET dashcfg)
  add_test(NAME dashcfg_version COMMAND dashcfg --version)
  string(REPLACE "." "\\." version_pattern "${PROJECT_VERSION}")
  set_tests_properties(dashcfg_version PROPERTIES PASS_REGULAR_EXPRESSION "^dashcfg ${version_pattern}\r?\n$")
  if(WIN32)
    set_tests_properties(dashcfg_version PROPERTIES
      FIXTURES_REQUIRED wine_prefix ENVIRONMENT "WINE_BUILD_DIR=${CMAKE_BINARY_DIR}" TIMEOUT 120)
  endif()
endif()

if(WIN32 AND TARGET DashCamSetting)
  # Reads version resources as a file's properties page does. A test of the build here; the
  # release check runs it on the packed programs too, so in a tree without tests it is built
  # only when asked for.
  if(DCS_TESTS)
    add_executable(version_info_check tests/packaging/VersionInfoCheck.cpp)
  else()
    add_executable(version_info_check EXCLUDE_FROM_ALL tests/packaging/VersionInfoCheck.cpp)
  endif()
  target_link_libraries(version_info_check PRIVATE version)
  target_link_options(version_info_check PRIVATE -municode)
  dcs_apply_options(version_info_check)
  set_target_properties(version_info_check PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/release-check)

  # The release check starts the packed editor, waits for its first painted window and closes
  # it with the benchmarks' launcher. Never installed; built only when asked for.
  add_executable(release_first_paint EXCLUDE_FROM_ALL
    ${PROJECT_SOURCE_DIR}/bench/win32/FirstPaint.cpp ${PROJECT_SOURCE_DIR}/bench/win32/FirstPaintProbe.cpp)
  target_include_directories(release_first_paint PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(release_first_paint PRIVATE dcs_app)
  target_link_options(release_first_paint PRIVATE -municode)
  dcs_apply_options(release_first_paint)
  set_target_properties(release_first_paint PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/release-check)

  if(DCS_TESTS AND TARGET dashcfg)
    # The version resource of both programs against the project's version, and the reader
    # itself: it must refuse another version and a program without a version resource.
    add_test(NAME version_resource COMMAND version_info_check ${PROJECT_VERSION}
             $<TARGET_FILE:DashCamSetting> $<TARGET_FILE:dashcfg>)
    add_test(NAME version_resource_refuses_other_version COMMAND version_info_check
             ${PROJECT_VERSION}.1 $<TARGET_FILE:DashCamSetting>)
    add_test(NAME version_resource_refuses_missing_resource COMMAND version_info_check
             ${PROJECT_VERSION} $<TARGET_FILE:core_tests>)
    set_tests_properties(version_resource_refuses_other_version version_resource_refuses_missing_resource
                         PROPERTIES WILL_FAIL TRUE)
    set_tests_properties(version_resource version_resource_refuses_other_version
                         version_resource_refuses_missing_resource PROPERTIES
      FIXTURES_REQUIRED wine_prefix ENVIRONMENT "WINE_BUILD_DIR=${CMAKE_BINARY_DIR}" TIMEOUT 120)
  endif()
endif()

# Packages come only from builds without sanitizers or fuzzing instrumentation.
if(DCS_SANITIZE OR DCS_FUZZ)
  return()
endif()

set(CPACK_PACKAGE_VENDOR "${DCS_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${DCS_COMPANY_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_ARCHIVE_THREADS 1)

if(WIN32)
  if(NOT TARGET DashCamSetting OR NOT TARGET dashcfg)
    return()
  endif()
  # Everything in the zip's one folder, text files with Windows line ends.
  set(packaging_dir ${CMAKE_BINARY_DIR}/packaging)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/ReadMe.txt.in ${packaging_dir}/ReadMe.txt
                 @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${packaging_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS DashCamSetting dashcfg RUNTIME DESTINATION .)
  install(FILES ${packaging_dir}/ReadMe.txt ${packaging_dir}/LICENSE.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME DashCamSetting)
  set(CPACK_PACKAGE_FILE_NAME DashCamSetting-${PROJECT_VERSION}-windows-x64)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${DCS_PRODUCT_NAME} and dashcfg for Windows")
else()
  if(NOT TARGET dashcfg)
    return()
  endif()
  include(GNUInstallDirs)
  # The manual page is made from the built program's own help texts.
  find_program(DCS_HELP2MAN help2man REQUIRED)
  set(man_page ${CMAKE_BINARY_DIR}/packaging/dashcfg.1.gz)
  add_custom_command(OUTPUT ${man_page}
    COMMAND bash ${PROJECT_SOURCE_DIR}/packaging/linux/dashcfg-man-page.sh $<TARGET_FILE:dashcfg> ${man_page}
    DEPENDS dashcfg ${PROJECT_SOURCE_DIR}/packaging/linux/dashcfg-man-page.sh
    COMMENT "Making the manual page of dashcfg"
    VERBATIM)
  add_custom_target(dashcfg_man_page ALL DEPENDS ${man_page})

  install(TARGETS dashcfg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # Shell completion, where bash-completion, zsh and fish look for the completions of packages.
  set(completions ${PROJECT_SOURCE_DIR}/packaging/linux/completions)
  install(FILES ${completions}/dashcfg.bash DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
          RENAME dashcfg)
  install(FILES ${completions}/_dashcfg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/zsh/vendor-completions)
  install(FILES ${completions}/dashcfg.fish DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/fish/vendor_completions.d)
  # Debian's place for a package's licence.
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/dashcfg
          RENAME copyright)

  set(CPACK_GENERATOR "DEB;TGZ")
  set(CPACK_PACKAGE_NAME dashcfg)
  set(CPACK_PACKAGE_FILE_NAME dashcfg-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "edits a dash cam's settings on its memory card")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_PACKAGE_DESCRIPTION
"dashcfg reads and writes the settings record (setup.cfg), the clock file
(time.dat) and the factory record (default.cfg) on a dash cam's memory card
exactly as the Windows settings editor does: show, set, export and apply
profiles to many cards, compare, reset and check cards.")
endif()

include(CPack)
