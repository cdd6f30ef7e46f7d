# Function tab, printer information, printer status, serial-port/identity
# page and stripper page, each against the emulated printer over TCP and
# emulated USB.
foreach(t tst_functions tst_status tst_serial_page tst_stripper_page)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${t}.cpp)
    lps_add_test(${t} SOURCES ${t}.cpp function_test_support.h LIBS printerfixture
                 WRAPPER ${LPS_UMOCKDEV_WRAPPER} LABELS gui)
  endif()
endforeach()
