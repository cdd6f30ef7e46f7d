# Device discovery and connection, numeric field repair, and the print and
# distance settings pages, through the real window against the emulated
# printer over TCP and emulated USB.
lps_add_test(tst_connection SOURCES tst_connection.cpp page_test_support.h LIBS printerfixture
             WRAPPER ${LPS_UMOCKDEV_WRAPPER} LABELS gui)
lps_add_test(tst_print_page SOURCES tst_print_page.cpp page_test_support.h LIBS printerfixture
             WRAPPER ${LPS_UMOCKDEV_WRAPPER} LABELS gui)
lps_add_test(tst_distance_page SOURCES tst_distance_page.cpp page_test_support.h LIBS printerfixture
             WRAPPER ${LPS_UMOCKDEV_WRAPPER} LABELS gui)
lps_add_test(tst_field_repair SOURCES tst_field_repair.cpp LIBS printergui guiharness LABELS gui)
