#include "ui/shared_state.h"

#include "query/printer_io.h"

int ret_mode = MediumUsb;
int mmToDot = 8;
bool printModeFlag = false;
int CHECK_STATUES = 0;
bool getListStatus = false;
bool debugMode = false;
int sendFileRet = -1;

WorkerThread *workerThread = nullptr;
DeviceIoContrl_Net *contrlNet = nullptr;
CDeviceIOOpera *contrlUsb = nullptr;
