# Function tab with the printer-information group, printer status, the
# serial-port/identity page and the stripper page, each driven through the
# real window against the emulated printer over TCP and emulated USB.
foreach(t tst_functions tst_status tst_serial_page tst_stripper_page)
  lps_add_test(${t} SOURCES ${t}.cpp page_test_support.h LIBS printerfixture
               WRAPPER ${LPS_UMOCKDEV_WRAPPER} LABELS gui)
endforeach()
