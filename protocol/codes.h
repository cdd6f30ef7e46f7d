// Code tables of the frame protocol.
//   class 00: function and status commands (POWER_InFo)
//   class 01: set a setting, class 02: query it (SetInfoType)
// and the printer's command-language (instruction-set) codes.
#pragma once

#include <QMap>
#include <QString>
#include <cstdint>

enum FrameClass : uint8_t { ClassFunction = 0x00, ClassSet = 0x01, ClassQuery = 0x02 };

enum SetInfoType : uint8_t {
    SPEED = 0x00,
    DEFAULT_CODE = 0x01,
    SIMULATION = 0x02,
    DEVICE_IDENTITY = 0x0C,
    ETHERNET_IP = 0x0D,
    SERIAL_PORT = 0x0E,
    PORT_MESSAGE = 0x0F,
    SN = 0x10,
    Densty_SETTING = 0x13,
    PAPER_TYPE = 0x16,
    LABEL_SIZE = 0x18,
    LABLE_CLEARANCE = 0x19,
    BLACK_CLEARANCE = 0x1A,
    PRINT_DIRECTION = 0x1C,
    PRINT_OFFSET = 0x1D,
    VERTICAL_MIGRATION = 0x1E,
    KEY_LOCK = 0x22,
    BUZZER = 0x23,
    CUTTER_MODE = 0x25,
    CONNECT_AP_INFORMATION = 0x26,
    AP_MODE = 0x27,
    IP_MESSAGE = 0x28,
    TCP_SERVICE_PORT_NUMBER = 0x29,
    BR_EDR_NAME = 0x2B,
    BLE_NAME = 0x2C,
    PIN = 0x2E,
    SPP_MODE = 0x2F,
    WIFI_MODE = 0x30,
    THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT = 0x33,
    SEAM_TO_PRINT_HRAD_DISTANCE = 0x34,
    BLACK_TO_PRINT_HEAD_DISTANCE = 0x35,
    PRINT_HEAD_TO_TEAR_DISTANCE = 0x36,
    MAC_ADDRESSES = 0x3C,
    LG_MODE = 0x3E,
    PRINTER_MODE = 0x41,
    AUTO_PAPER = 0x54,
    CUT_DIS = 0x58,
};

enum POWER_InFo : uint8_t {
    SELF_TEST_PAGE = 0x00,
    REBOOT = 0x02,
    STATUS_WORD = 0x03,
    FIRMWARE_VERSION = 0x04,
    PRINTER_INIT = 0x05,
    PRINT_SETTINGS_DONE = 0x06,
    SEAM_LEARN = 0x07,
    BLACK_MARK_LEARN = 0x08,
    DAC_LEARN = 0x09,
    PAPER_EXIT_LEARN = 0x0A,
    RESOLUTION_WIDTH = 0x0B,
    NO_PAPER_LEARN = 0x0D,
};

// Instruction-set codes as the printer reports them (query 0x02), in key
// order. 32 is the printer's code for automatic language detection (not 6).
extern const QMap<int, QString> instructionSetNames;
