#include "shared_state.h"

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

// 32 is the printer's code for automatic language detection (not 6).
const QMap<int, QString> instructionSetNames = {
    {1, QStringLiteral("ZPL")}, {2, QStringLiteral("TSPL")}, {3, QStringLiteral("CPCL")},
    {4, QStringLiteral("EPL")}, {5, QStringLiteral("DPL")},  {32, QStringLiteral("AUTO")},
};
