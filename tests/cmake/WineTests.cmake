# Windows test executables run through Wine (the toolchain's emulator) in the build tree's own
# prefix. The prefix is made once by a fixture test before any test that needs it, so the
# first test never pays for, or times out on, Wine's first start.

add_test(NAME wine_prefix_setup
         COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-prefix-setup.sh ${CMAKE_BINARY_DIR}
                 $<TARGET_FILE:fmifs_standin>)
set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)

# Registers one Windows test executable; extra arguments go to the executable.
function(dcs_add_wine_test name target)
  add_test(NAME ${name} COMMAND ${target} ${ARGN})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_prefix
    ENVIRONMENT "WINE_BUILD_DIR=${CMAKE_BINARY_DIR}"
    TIMEOUT 300)
endfunction()

# Tests that open windows share the prefix's display (its focus, foreground and topmost
# windows), its registry keys and its removable drive R:. They say so, so that ctest runs them
# one at a time even with -j while the others run beside them.
function(dcs_uses_wine_desktop)
  set_tests_properties(${ARGN} PROPERTIES RESOURCE_LOCK wine_desktop)
endfunction()

dcs_add_wine_test(core_tests_wine core_tests)

# The long runs of the real main window and the byte-by-byte sweep of a damaged settings file
# each take a good part of a minute or more under Wine: they get entries (and time limits) of
# their own instead of pushing the rest of the Win32 tests towards theirs.
set(DCS_LONG_WIN32_TESTS "SettingDlgSoak.*:SetupConfigSweep.*:*PageLayout.*")
dcs_add_wine_test(win32_tests_wine win32_tests --gtest_filter=-${DCS_LONG_WIN32_TESTS})
dcs_add_wine_test(main_window_soak_wine win32_tests --gtest_filter=SettingDlgSoak.*)
dcs_add_wine_test(setup_config_sweep_wine win32_tests --gtest_filter=SetupConfigSweep.*)
# Every page laid out at every drawn scale in every language: a few hundred pages.
dcs_add_wine_test(page_layout_scales_wine win32_tests --gtest_filter=*PageLayout.*)
set_tests_properties(page_layout_scales_wine PROPERTIES TIMEOUT 1500)
dcs_uses_wine_desktop(win32_tests_wine main_window_soak_wine setup_config_sweep_wine page_layout_scales_wine)

foreach(zone_case IN LISTS DCS_ZONE_CASES)
  string(REPLACE "|" ";" parts "${zone_case}")
  list(GET parts 0 zone)
  list(GET parts 1 offset)
  dcs_add_wine_test("clock_offset_wine_${zone}" core_tests
                    --gtest_filter=ClockFileTest.WritesThePcsOwnStandardOffset)
  set_tests_properties("clock_offset_wine_${zone}" PROPERTIES
    ENVIRONMENT "WINE_BUILD_DIR=${CMAKE_BINARY_DIR};TZ=${zone};DCS_EXPECT_CLOCK_OFFSET=${offset}")
endforeach()

# A PC in Seoul: the time zone catalogue finds the Korea entry as the current zone.
dcs_add_wine_test(time_zone_current_wine_seoul win32_tests
                  --gtest_filter=TimeZoneRegistry.FindsThePcsCurrentZone)
dcs_uses_wine_desktop(time_zone_current_wine_seoul)
set_tests_properties(time_zone_current_wine_seoul PROPERTIES
  ENVIRONMENT "WINE_BUILD_DIR=${CMAKE_BINARY_DIR};TZ=Asia/Seoul;DCS_EXPECT_CURRENT_ZONE=Korea Standard Time;DCS_EXPECT_CURRENT_ZONE_BIAS=540")

# A PC in Seoul: the system page fills a record without a zone with the PC's own zone.
dcs_add_wine_test(system_page_zone_wine_seoul win32_tests
                  --gtest_filter=SystemDlgTest.ARecordWithoutAZoneTakesThePcsZone)
dcs_uses_wine_desktop(system_page_zone_wine_seoul)
set_tests_properties(system_page_zone_wine_seoul PROPERTIES
  ENVIRONMENT "WINE_BUILD_DIR=${CMAKE_BINARY_DIR};TZ=Asia/Seoul;DCS_EXPECT_CURRENT_ZONE=Korea Standard Time;DCS_EXPECT_CURRENT_ZONE_BIAS=540")
