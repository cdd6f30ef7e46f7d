// Program-wide flags shared by the window, its pages and the maintenance
// functions. All of them live on the GUI thread; the worker thread only
// reads sendFileRet after the GUI thread has written it through a blocking
// queued call. The GUI-free library needs none of them: the transports
// learn what they need through their host interface (ScanHost) and the
// query helpers take the medium as an argument.
#pragma once

#include "protocol/settings_catalogue.h"

class WorkerThread;
class DeviceIoContrl_Net;
class CDeviceIOOpera;

// Connection medium, a Medium of query/printer_io.h: 1 USB, 2 network
// (wired or Wi-Fi), 3 Bluetooth, 4 serial.
extern int ret_mode;
// Dots per millimetre of the open printer (8 or 12).
extern int mmToDot;
// True for the models with eight print speeds and the print-mode setting.
extern bool printModeFlag;
// The open printer as the settings catalogue sees it.
inline settings::Model openModel() { return {mmToDot, printModeFlag}; }
// Stripper confirmation given since the last device selection (0/1).
extern int CHECK_STATUES;
// True while a device-list refresh runs; clearing it stops the enumeration.
extern bool getListStatus;
// True while the worker sends a file for the debug console.
extern bool debugMode;
// Result of the last chunk written for the worker thread.
extern int sendFileRet;

extern WorkerThread *workerThread;
extern DeviceIoContrl_Net *contrlNet;
extern CDeviceIOOpera *contrlUsb;
