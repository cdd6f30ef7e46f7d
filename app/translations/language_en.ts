<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>CutDialog</name>
    <message>
        <source>设置工具</source>
        <translation>Setup tool</translation>
    </message>
    <message>
        <source>请确保打印机是否已经安装/连接对应剥离器</source>
        <translation>Please ensure the printer has installed/connected the correct peeler</translation>
    </message>
</context>
<context>
    <name>DistributeNet</name>
    <message>
        <source>WIFI配网</source>
        <translation>WiFi Setup</translation>
    </message>
    <message>
        <source>请选择WiFi网络</source>
        <translation>Please select a WiFi network</translation>
    </message>
    <message>
        <source>可用WiFi列表（点击选择）</source>
        <translation>Available WiFi networks (click to select)</translation>
    </message>
    <message>
        <source>所选WiFi</source>
        <translation>Selected WiFi</translation>
    </message>
    <message>
        <source>名称:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>密码：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>选择手动输入</source>
        <translation>Enter manually</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Refresh list</translation>
    </message>
    <message>
        <source>开始配网</source>
        <translation>Start setup</translation>
    </message>
    <message>
        <source>请输入WiFi密码</source>
        <translation>Please enter the WiFi password</translation>
    </message>
    <message>
        <source>扫描中...</source>
        <translation>Scanning...</translation>
    </message>
    <message>
        <source>本机无法扫描WiFi网络（Linux需要NetworkManager），请选择手动输入WiFi名称</source>
        <translation>This computer cannot scan for WiFi networks (on Linux NetworkManager is needed). Please enter the WiFi name manually</translation>
    </message>
    <message>
        <source>本机没有WiFi网卡，无法扫描，请选择手动输入WiFi名称</source>
        <translation>This computer has no WiFi adapter, so it cannot scan. Please enter the WiFi name manually</translation>
    </message>
    <message>
        <source>本机WiFi未开启，无法扫描，请选择手动输入WiFi名称</source>
        <translation>WiFi is off on this computer, so it cannot scan. Please enter the WiFi name manually</translation>
    </message>
    <message>
        <source>未扫描到任何WiFi网络，请刷新列表或选择手动输入WiFi名称</source>
        <translation>No WiFi network found. Please refresh the list or enter the WiFi name manually</translation>
    </message>
    <message>
        <source>(当前连接)</source>
        <translation>(Currently Connected)</translation>
    </message>
    <message>
        <source>请输入WiFi名称</source>
        <translation>Please enter the WiFi name</translation>
    </message>
    <message>
        <source>请刷新列表，或选择手动输入WiFi名称</source>
        <translation>Please refresh the list, or manually enter the WiFi name</translation>
    </message>
    <message>
        <source>请选择一个WiFi</source>
        <translation>Please select a WiFi</translation>
    </message>
    <message>
        <source>NetworkManager没有应答，请刷新列表或选择手动输入WiFi名称</source>
        <translation>NetworkManager is not answering. Please refresh the list or enter the WiFi name manually</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Label printer setup tool</translation>
    </message>
    <message>
        <source>通讯介质</source>
        <translation>Communication medium</translation>
    </message>
    <message>
        <source>有线网络</source>
        <translation>Wired network</translation>
    </message>
    <message>
        <source>蓝牙</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>无线网络</source>
        <translation>Wireless network</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>设备列表</source>
        <translation>Device list</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Refresh list</translation>
    </message>
    <message>
        <source>停止获取</source>
        <translation>Stop searching</translation>
    </message>
    <message>
        <source>打开设备</source>
        <translation>Open device</translation>
    </message>
    <message>
        <source>关闭设备</source>
        <translation>Close device</translation>
    </message>
    <message>
        <source>IP连接设置</source>
        <translation>IP connection settings</translation>
    </message>
    <message>
        <source>设备IP:</source>
        <translation>Device IP:</translation>
    </message>
    <message>
        <source>TCP端口:</source>
        <translation>TCP port:</translation>
    </message>
    <message>
        <source>UDP端口:</source>
        <translation>UDP port:</translation>
    </message>
    <message>
        <source>串口连接设置</source>
        <translation>Serial connection settings</translation>
    </message>
    <message>
        <source>流控方式:</source>
        <translation>Flow control:</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>硬件</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>软件</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>校验位：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <source>数据位：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>8bit</source>
        <translation>8 bits</translation>
    </message>
    <message>
        <source>7bit</source>
        <translation>7 bits</translation>
    </message>
    <message>
        <source>停止位：</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <source>1bit</source>
        <translation>1 bit</translation>
    </message>
    <message>
        <source>2bit</source>
        <translation>2 bits</translation>
    </message>
    <message>
        <source>打印机设置</source>
        <translation>Printer settings</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Print settings</translation>
    </message>
    <message>
        <source>打印速度：</source>
        <translation>Print speed:</translation>
    </message>
    <message>
        <source>打印浓度：</source>
        <translation>Print density:</translation>
    </message>
    <message>
        <source>打印方向：</source>
        <translation>Print direction:</translation>
    </message>
    <message>
        <source>旋转0度</source>
        <translation>Rotate 0 degrees</translation>
    </message>
    <message>
        <source>旋转180度</source>
        <translation>Rotate 180 degrees</translation>
    </message>
    <message>
        <source>打印方式：</source>
        <translation>Print method:</translation>
    </message>
    <message>
        <source>正常打印</source>
        <translation>Normal printing</translation>
    </message>
    <message>
        <source>镜像打印</source>
        <translation>Mirror printing</translation>
    </message>
    <message>
        <source>打印模式：</source>
        <translation>Print mode:</translation>
    </message>
    <message>
        <source>热敏</source>
        <translation>Direct thermal</translation>
    </message>
    <message>
        <source>热转印</source>
        <translation>Thermal transfer</translation>
    </message>
    <message>
        <source>自适应</source>
        <translation>Adaptive</translation>
    </message>
    <message>
        <source>自动吸纸：</source>
        <translation>Automatic paper feed:</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>纸张类型：</source>
        <translation>Paper type:</translation>
    </message>
    <message>
        <source>标签纸</source>
        <translation>Label paper</translation>
    </message>
    <message>
        <source>黑标纸</source>
        <translation>Black mark paper</translation>
    </message>
    <message>
        <source>连续纸</source>
        <translation>Continuous paper</translation>
    </message>
    <message>
        <source>AUTO</source>
        <translation>AUTO</translation>
    </message>
    <message>
        <source>指令集：</source>
        <translation>Command set:</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)：</source>
        <translation>Label gap (mm):</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)：</source>
        <translation>Black mark gap (mm):</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)：</source>
        <translation>Vertical offset (mm):</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)：</source>
        <translation>Print offset (mm):</translation>
    </message>
    <message>
        <source>宽度：</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>高度：</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>语言切换：</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>English</translation>
    </message>
    <message>
        <source>中文简体</source>
        <translation>Simplified Chinese</translation>
    </message>
    <message>
        <source>中文繁体</source>
        <translation>Traditional Chinese</translation>
    </message>
    <message>
        <source>韩文</source>
        <translation>Korean</translation>
    </message>
    <message>
        <source>日文</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>阿拉伯文</source>
        <translation>Arabic</translation>
    </message>
    <message>
        <source>泰文</source>
        <translation>Thai</translation>
    </message>
    <message>
        <source>默认代码页：</source>
        <translation>Default code page:</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>距离设置</source>
        <translation>Distance settings</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)：</source>
        <translation>Paper exit to print head distance (dots):</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)：</source>
        <translation>Gap to print head distance (mm):</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)：</source>
        <translation>Black mark to print head distance (mm):</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)：</source>
        <translation>Print head to tear-off position distance (dots):</translation>
    </message>
    <message>
        <source>注：1mm = 8dot</source>
        <translation>Note: 1mm = 8 dots</translation>
    </message>
    <message>
        <source>wifi设置</source>
        <translation>Wi-Fi settings</translation>
    </message>
    <message>
        <source>STA模式</source>
        <translation>STA mode</translation>
    </message>
    <message>
        <source>wifi名称：</source>
        <translation>Wi-Fi name:</translation>
    </message>
    <message>
        <source>wifi密码：</source>
        <translation>Wi-Fi password:</translation>
    </message>
    <message>
        <source>AP模式</source>
        <translation>AP mode</translation>
    </message>
    <message>
        <source> AP_IP:</source>
        <translation> AP_IP:</translation>
    </message>
    <message>
        <source>MAC：</source>
        <translation>MAC:</translation>
    </message>
    <message>
        <source>TCP端口号：</source>
        <translation>TCP port number:</translation>
    </message>
    <message>
        <source>IP设置</source>
        <translation>IP settings</translation>
    </message>
    <message>
        <source>IP模式：</source>
        <translation>IP mode:</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP:</translation>
    </message>
    <message>
        <source>子网掩码：</source>
        <translation>Subnet mask:</translation>
    </message>
    <message>
        <source>网关地址：</source>
        <translation>Gateway address:</translation>
    </message>
    <message>
        <source>DNS:</source>
        <translation>DNS:</translation>
    </message>
    <message>
        <source>注：此项功能设置后需重启打印机</source>
        <translation>Note: the printer must be restarted after this setting</translation>
    </message>
    <message>
        <source>注：AP模式的wifi密码最少为8位</source>
        <translation>Note: Wi-Fi password in AP mode must be at least 8 characters</translation>
    </message>
    <message>
        <source>wifi模式：</source>
        <translation>Wi-Fi mode:</translation>
    </message>
    <message>
        <source>蓝牙设置</source>
        <translation>Bluetooth settings</translation>
    </message>
    <message>
        <source>SPP名称:</source>
        <translation>SPP name:</translation>
    </message>
    <message>
        <source>BLE:</source>
        <translation>BLE:</translation>
    </message>
    <message>
        <source>SPP连接模式：</source>
        <translation>SPP connection mode:</translation>
    </message>
    <message>
        <source>简易配对</source>
        <translation>Simple pairing</translation>
    </message>
    <message>
        <source>配对码配对</source>
        <translation>PIN code pairing</translation>
    </message>
    <message>
        <source>SPP_PIN码：</source>
        <translation>SPP PIN code:</translation>
    </message>
    <message>
        <source>MAC:</source>
        <translation>MAC:</translation>
    </message>
    <message>
        <source>网口设置</source>
        <translation>Network port settings</translation>
    </message>
    <message>
        <source>串口设置</source>
        <translation>Serial port settings</translation>
    </message>
    <message>
        <source>USB打印机信息</source>
        <translation>USB printer information</translation>
    </message>
    <message>
        <source>设备SN号:</source>
        <translation>Device SN:</translation>
    </message>
    <message>
        <source>打印机设备信息</source>
        <translation>Printer device information</translation>
    </message>
    <message>
        <source>剥离器设置</source>
        <translation>Peeler settings</translation>
    </message>
    <message>
        <source>剥离器取纸时间设置（单位：s）：</source>
        <translation>Peeler paper pick-up time (s):</translation>
    </message>
    <message>
        <source>功能设置</source>
        <translation>Functions</translation>
    </message>
    <message>
        <source>切刀设置</source>
        <translation>Cutter settings</translation>
    </message>
    <message>
        <source>切刀关闭</source>
        <translation>Cutter off</translation>
    </message>
    <message>
        <source>全切</source>
        <translation>Full cut</translation>
    </message>
    <message>
        <source>剥离模式</source>
        <translation>Peel mode</translation>
    </message>
    <message>
        <source>撕离模式</source>
        <translation>Tear-off mode</translation>
    </message>
    <message>
        <source>蜂鸣器开启</source>
        <translation>Buzzer on</translation>
    </message>
    <message>
        <source>蜂鸣器关闭</source>
        <translation>Buzzer off</translation>
    </message>
    <message>
        <source>按键设置开启</source>
        <translation>Buttons enabled</translation>
    </message>
    <message>
        <source>按键设置关闭</source>
        <translation>Buttons disabled</translation>
    </message>
    <message>
        <source>缝隙自学习</source>
        <translation>Gap calibration</translation>
    </message>
    <message>
        <source>黑标自学习</source>
        <translation>Black mark calibration</translation>
    </message>
    <message>
        <source>DAC自学习</source>
        <translation>DAC calibration</translation>
    </message>
    <message>
        <source>缺纸学习</source>
        <translation>Paper-out calibration</translation>
    </message>
    <message>
        <source>获取打印机状态</source>
        <translation>Get printer status</translation>
    </message>
    <message>
        <source>打印机初始化</source>
        <translation>Initialize printer</translation>
    </message>
    <message>
        <source>重启机器</source>
        <translation>Restart printer</translation>
    </message>
    <message>
        <source>打印自检页</source>
        <translation>Print self-test page</translation>
    </message>
    <message>
        <source>WIFI配网</source>
        <translation>WiFi Setup</translation>
    </message>
    <message>
        <source>出纸口纸边传感器自学习</source>
        <translation>Paper exit edge sensor calibration</translation>
    </message>
    <message>
        <source>维护升级</source>
        <translation>Maintenance and upgrade</translation>
    </message>
    <message>
        <source>下载固件</source>
        <translation>Download firmware</translation>
    </message>
    <message>
        <source>下载字库</source>
        <translation>Download font</translation>
    </message>
    <message>
        <source>打印机资讯</source>
        <translation>Printer information</translation>
    </message>
    <message>
        <source>打印机型号 ：</source>
        <translation>Printer model:</translation>
    </message>
    <message>
        <source>打印机版本：</source>
        <translation>Printer version:</translation>
    </message>
    <message>
        <source>分辩率：</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>最大纸张宽度：</source>
        <translation>Maximum paper width:</translation>
    </message>
    <message>
        <source>读取打印机资讯</source>
        <translation>Read printer information</translation>
    </message>
    <message>
        <source>消息区</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>HEX接收</source>
        <translation>HEX receive</translation>
    </message>
    <message>
        <source>清空接收</source>
        <translation>Clear received</translation>
    </message>
    <message>
        <source>发送区</source>
        <translation>Send area</translation>
    </message>
    <message>
        <source>HEX发送</source>
        <translation>HEX send</translation>
    </message>
    <message>
        <source>清空发送</source>
        <translation>Clear send</translation>
    </message>
    <message>
        <source>发送文件</source>
        <translation>Send file</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>发送进度</source>
        <translation>Send progress</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Setup tool</translation>
    </message>
    <message>
        <source>内存分配失败</source>
        <translation>Memory allocation failure</translation>
    </message>
    <message>
        <source>请确保通讯设备已开启</source>
        <translation>Make sure your communication device is turned on</translation>
    </message>
    <message>
        <source>请先选中打印列表中的打印机</source>
        <translation>Please first select the printer in the print list</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>连接超时，请重试！</source>
        <translation>Connection timed out, please try again!</translation>
    </message>
    <message>
        <source>连接成功！</source>
        <translation>The connection is successful!</translation>
    </message>
    <message>
        <source>注：1mm = 12dot</source>
        <translation>Note: 1mm = 12 dots</translation>
    </message>
    <message>
        <source>关闭成功！</source>
        <translation>Closed successfully!</translation>
    </message>
    <message>
        <source>宽度范围20-108mm，请重新输入</source>
        <translation>Width range 20–108 mm, please re-enter</translation>
    </message>
    <message>
        <source>高度范围10-1778mm，请重新输入</source>
        <translation>Height range 10–1778 mm, please re-enter</translation>
    </message>
    <message>
        <source>请先打开设备</source>
        <translation>Please turn on the device</translation>
    </message>
    <message>
        <source>处理成功</source>
        <translation>Successfully processed</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Make sure the printer is connected</translation>
    </message>
    <message>
        <source>USB通讯出错，请重试</source>
        <translation>USB communication error, please try again</translation>
    </message>
    <message>
        <source>网络通讯出错，请重试</source>
        <translation>Network communication error, please try again</translation>
    </message>
    <message>
        <source>蓝牙通讯出错，请重试</source>
        <translation>Bluetooth communication error, please try again</translation>
    </message>
    <message>
        <source>串口通讯出错，请重试</source>
        <translation>Serial communication error, please try again</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)</source>
        <translation>Paper exit to print head distance (dots)</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)</source>
        <translation>Gap to print head distance (mm)</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)</source>
        <translation>Black mark to print head distance (mm)</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)</source>
        <translation>Print head to tear-off position distance (dots)</translation>
    </message>
    <message>
        <source>%1的取值范围为%2 ~ %3，请重新输入</source>
        <translation>The range of %1 is %2 ~ %3, please re-enter</translation>
    </message>
    <message>
        <source>%1过长，最多%2字节（UTF-8），请重新输入</source>
        <translation>%1 is too long, at most %2 bytes (UTF-8), please re-enter</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)</source>
        <translation>Label gap (mm)</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)</source>
        <translation>Black mark gap (mm)</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)</source>
        <translation>Vertical offset (mm)</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)</source>
        <translation>Print offset (mm)</translation>
    </message>
    <message>
        <source>设备SN号</source>
        <translation>Device SN</translation>
    </message>
    <message>
        <source>剥离器取纸时间（单位：s）</source>
        <translation>Peeler paper pick-up time (s)</translation>
    </message>
    <message>
        <source>设备未打开!</source>
        <translation>Device not turned on!</translation>
    </message>
    <message>
        <source>此十六进制字符串格式无效。</source>
        <translation>Invalid hexadecimal string format.</translation>
    </message>
    <message>
        <source>发送失败！请重试</source>
        <translation>Sending failed! Please try again</translation>
    </message>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Failed to open file: %1</translation>
    </message>
    <message>
        <source>连接失败: </source>
        <translation>Connection failed: </translation>
    </message>
    <message>
        <source>下载成功</source>
        <translation>Download successfully</translation>
    </message>
    <message>
        <source>等待打印机指示灯停止闪烁</source>
        <translation>Wait for the printer light to stop blinking</translation>
    </message>
    <message>
        <source>%1每段的取值范围为0 ~ 255，请重新输入</source>
        <translation>The range of each part of %1 is 0 ~ 255, please re-enter</translation>
    </message>
    <message>
        <source>处理成功，请重启打印机</source>
        <translation>Operation successful. Please restart the printer</translation>
    </message>
    <message>
        <source>AP模式的wifi密码最少为8位</source>
        <translation>Wi-Fi password in AP mode must be at least 8 characters</translation>
    </message>
    <message>
        <source>没有访问该USB设备的权限：请安装本工具的udev规则，然后重新插拔打印机。</source>
        <translation>No permission to access this USB device: install this tool&apos;s udev rule, then unplug and re-plug the printer.</translation>
    </message>
    <message>
        <source>打印机接口被其他程序或驱动占用：请关闭该程序或卸载该驱动后重试。</source>
        <translation>The printer interface is held by another program or driver: close that program or unload the driver, then try again.</translation>
    </message>
    <message>
        <source>DHCP OFF时%1不能为空或0.0.0.0，请重新输入</source>
        <translation>With DHCP OFF, %1 must not be empty or 0.0.0.0, please re-enter</translation>
    </message>
    <message>
        <source>固件下载进行中，关闭窗口将中断下载。确定关闭吗？</source>
        <translation>A download is in progress; closing the window interrupts it. Close anyway?</translation>
    </message>
    <message>
        <source>打印机在%1波特率下应答，已改用该波特率。</source>
        <translation>The printer answered at %1 baud; the baud rate has been switched to it.</translation>
    </message>
    <message>
        <source>%p%，剩余%1</source>
        <translation>%p%, %1 left</translation>
    </message>
    <message>
        <source>备份设置…</source>
        <translation>Back up settings…</translation>
    </message>
    <message>
        <source>恢复设置…</source>
        <translation>Restore settings…</translation>
    </message>
    <message>
        <source>%1个字符</source>
        <translation>%1 characters</translation>
    </message>
    <message>
        <source>无法读取%1</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <source>包含密码</source>
        <translation>Include passwords</translation>
    </message>
    <message>
        <source>%1已存在，请选择新的文件名</source>
        <translation>%1 already exists, please choose a new file name</translation>
    </message>
    <message>
        <source>备份失败：%1</source>
        <translation>Backup failed: %1</translation>
    </message>
    <message>
        <source>恢复失败：%1</source>
        <translation>Restore failed: %1</translation>
    </message>
    <message>
        <source>文件来自另一台打印机（序列号%1，这台是%2）：序列号和地址等标识设置未勾选。</source>
        <translation>The file comes from another printer (serial number %1, this one is %2): identity settings such as the serial number and addresses are not ticked.</translation>
    </message>
    <message>
        <source>%1项已生效，%2项未生效。</source>
        <translation>%1 held, %2 not held.</translation>
    </message>
    <message>
        <source>请重启打印机，使网络和蓝牙设置生效。</source>
        <translation>Restart the printer for the network and Bluetooth settings to take effect.</translation>
    </message>
    <message>
        <source>将固件下载到这台打印机吗？

型号：%1
固件版本：%2
序列号：%3

文件：%4
大小：%5字节</source>
        <translation>Download the firmware to this printer?

Model: %1
Firmware version: %2
Serial number: %3

File: %4
Size: %5 bytes</translation>
    </message>
    <message>
        <source>先备份设置</source>
        <translation>Back up settings first</translation>
    </message>
    <message>
        <source>备份失败：%1
不备份，继续下载固件吗？</source>
        <translation>Backup failed: %1
Download the firmware without a backup?</translation>
    </message>
    <message>
        <source>正在等待打印机重新应答…</source>
        <translation>Waiting for the printer to answer again…</translation>
    </message>
    <message>
        <source>打印机在%1秒内没有重新应答。</source>
        <translation>The printer did not answer again within %1 s.</translation>
    </message>
    <message>
        <source>下载前的设置备份：%1</source>
        <translation>Settings backup from before the download: %1</translation>
    </message>
    <message>
        <source>固件版本：%1 → %2</source>
        <translation>Firmware version: %1 → %2</translation>
    </message>
    <message>
        <source>打印机的设置与下载前的备份不同，现在恢复吗？</source>
        <translation>The printer’s settings differ from the backup taken before the download. Restore them now?</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Label printer setup tool</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Setup tool</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Make sure the printer is connected</translation>
    </message>
    <message>
        <source>空闲中</source>
        <translation>At leisure</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>缺纸</source>
        <translation>Paper out</translation>
    </message>
    <message>
        <source>纸将尽</source>
        <translation>Paper running low</translation>
    </message>
    <message>
        <source>卡纸</source>
        <translation>cardboard</translation>
    </message>
    <message>
        <source>碳带将尽</source>
        <translation>The ribbion will run out</translation>
    </message>
    <message>
        <source>无碳带</source>
        <translation>No ribbon</translation>
    </message>
    <message>
        <source>打印头过热</source>
        <translation>Print head overheated</translation>
    </message>
    <message>
        <source>开盖</source>
        <translation>uncap</translation>
    </message>
    <message>
        <source>定位异常（黑标或缝隙）</source>
        <translation>Locating anomalies (black marks or gaps)</translation>
    </message>
    <message>
        <source>切刀异常</source>
        <translation>Cutter anomaly</translation>
    </message>
    <message>
        <source>升级中</source>
        <translation>Upgrading</translation>
    </message>
    <message>
        <source>升级异常</source>
        <translation>Upgrade exception</translation>
    </message>
    <message>
        <source>指令错误</source>
        <translation>Command error</translation>
    </message>
    <message>
        <source>打印暂停</source>
        <translation>Printing paused</translation>
    </message>
    <message>
        <source>打印删除</source>
        <translation>Print job deleted</translation>
    </message>
</context>
<context>
    <name>RestoreSettingsDialog</name>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>恢复设置</source>
        <translation>Restore settings</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>打印机中的值</source>
        <translation>In the printer</translation>
    </message>
    <message>
        <source>文件中的值</source>
        <translation>In the file</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>跳过：这个型号没有此设置</source>
        <translation>Skipped: this model has no such setting</translation>
    </message>
    <message>
        <source>跳过：这个型号不接受此值</source>
        <translation>Skipped: this model does not take this value</translation>
    </message>
    <message>
        <source>已生效</source>
        <translation>Held</translation>
    </message>
    <message>
        <source>未生效</source>
        <translation>Not held</translation>
    </message>
</context>
<context>
    <name>WorkerThread</name>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Failed to open file: %1</translation>
    </message>
    <message>
        <source>向打印机发送数据失败。</source>
        <translation>Failed to send data to printer.</translation>
    </message>
</context>
</TS>
