# GUI-free parts of ui/ that belong to the core library (and so to its
# tests): the numeric field repair.
target_sources(printercore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/numeric_repair.h
    ${CMAKE_CURRENT_LIST_DIR}/numeric_repair.cpp)
