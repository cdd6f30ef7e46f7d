<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl_NL" sourcelanguage="zh_CN">
<context>
    <name>CutDialog</name>
    <message>
        <source>设置工具</source>
        <translation>Instellingsprogramma</translation>
    </message>
    <message>
        <source>请确保打印机是否已经安装/连接对应剥离器</source>
        <translation>Controleer of de juiste afpeller op de printer is geïnstalleerd/aangesloten</translation>
    </message>
</context>
<context>
    <name>DistributeNet</name>
    <message>
        <source>WIFI配网</source>
        <translation>Wifi instellen</translation>
    </message>
    <message>
        <source>请选择WiFi网络</source>
        <translation>Kies een wifi-netwerk</translation>
    </message>
    <message>
        <source>可用WiFi列表（点击选择）</source>
        <translation>Beschikbare wifi-netwerken (klik om te kiezen)</translation>
    </message>
    <message>
        <source>所选WiFi</source>
        <translation>Gekozen wifi</translation>
    </message>
    <message>
        <source>名称:</source>
        <translation>Naam:</translation>
    </message>
    <message>
        <source>密码：</source>
        <translation>Wachtwoord:</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Tonen</translation>
    </message>
    <message>
        <source>选择手动输入</source>
        <translation>Handmatig invoeren</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Lijst vernieuwen</translation>
    </message>
    <message>
        <source>开始配网</source>
        <translation>Instellen starten</translation>
    </message>
    <message>
        <source>请输入WiFi密码</source>
        <translation>Voer het wifi-wachtwoord in</translation>
    </message>
    <message>
        <source>扫描中...</source>
        <translation>Zoeken...</translation>
    </message>
    <message>
        <source>本机无法扫描WiFi网络（Linux需要NetworkManager），请选择手动输入WiFi名称</source>
        <translation>Deze computer kan niet naar wifi-netwerken zoeken (onder Linux is NetworkManager nodig). Voer de wifi-naam handmatig in</translation>
    </message>
    <message>
        <source>本机没有WiFi网卡，无法扫描，请选择手动输入WiFi名称</source>
        <translation>Deze computer heeft geen wifi-adapter en kan niet zoeken. Voer de wifi-naam handmatig in</translation>
    </message>
    <message>
        <source>本机WiFi未开启，无法扫描，请选择手动输入WiFi名称</source>
        <translation>Wifi staat uit op deze computer, zoeken is niet mogelijk. Voer de wifi-naam handmatig in</translation>
    </message>
    <message>
        <source>未扫描到任何WiFi网络，请刷新列表或选择手动输入WiFi名称</source>
        <translation>Geen wifi-netwerk gevonden. Vernieuw de lijst of voer de wifi-naam handmatig in</translation>
    </message>
    <message>
        <source>(当前连接)</source>
        <translation>(Nu verbonden)</translation>
    </message>
    <message>
        <source>请输入WiFi名称</source>
        <translation>Voer de wifi-naam in</translation>
    </message>
    <message>
        <source>请刷新列表，或选择手动输入WiFi名称</source>
        <translation>Vernieuw de lijst, of voer de wifi-naam handmatig in</translation>
    </message>
    <message>
        <source>请选择一个WiFi</source>
        <translation>Kies een wifi-netwerk</translation>
    </message>
    <message>
        <source>NetworkManager没有应答，请刷新列表或选择手动输入WiFi名称</source>
        <translation>NetworkManager antwoordt niet. Vernieuw de lijst of voer de wifi-naam handmatig in</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Instellingsprogramma voor labelprinters</translation>
    </message>
    <message>
        <source>通讯介质</source>
        <translation>Communicatiemedium</translation>
    </message>
    <message>
        <source>有线网络</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>蓝牙</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>无线网络</source>
        <translation>Wifi</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Seriële poort</translation>
    </message>
    <message>
        <source>设备列表</source>
        <translation>Apparatenlijst</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Lijst vernieuwen</translation>
    </message>
    <message>
        <source>停止获取</source>
        <translation>Zoeken stoppen</translation>
    </message>
    <message>
        <source>打开设备</source>
        <translation>Apparaat openen</translation>
    </message>
    <message>
        <source>关闭设备</source>
        <translation>Apparaat sluiten</translation>
    </message>
    <message>
        <source>IP连接设置</source>
        <translation>IP-verbindingsinstellingen</translation>
    </message>
    <message>
        <source>设备IP:</source>
        <translation>IP van apparaat:</translation>
    </message>
    <message>
        <source>TCP端口:</source>
        <translation>TCP-poort:</translation>
    </message>
    <message>
        <source>UDP端口:</source>
        <translation>UDP-poort:</translation>
    </message>
    <message>
        <source>串口连接设置</source>
        <translation>Instellingen seriële verbinding</translation>
    </message>
    <message>
        <source>流控方式:</source>
        <translation>Stroombesturing:</translation>
    </message>
    <message>
        <source>无</source>
        <translation>Geen</translation>
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
        <translation>Pariteit:</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Baudrate:</translation>
    </message>
    <message>
        <source>数据位：</source>
        <translation>Databits:</translation>
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
        <translation>Stopbits:</translation>
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
        <translation>Printerinstellingen</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Afdrukinstellingen</translation>
    </message>
    <message>
        <source>打印速度：</source>
        <translation>Afdruksnelheid:</translation>
    </message>
    <message>
        <source>打印浓度：</source>
        <translation>Afdrukdichtheid:</translation>
    </message>
    <message>
        <source>打印方向：</source>
        <translation>Afdrukrichting:</translation>
    </message>
    <message>
        <source>旋转0度</source>
        <translation>0 graden draaien</translation>
    </message>
    <message>
        <source>旋转180度</source>
        <translation>180 graden draaien</translation>
    </message>
    <message>
        <source>打印方式：</source>
        <translation>Afdrukwijze:</translation>
    </message>
    <message>
        <source>正常打印</source>
        <translation>Normaal</translation>
    </message>
    <message>
        <source>镜像打印</source>
        <translation>Gespiegeld</translation>
    </message>
    <message>
        <source>打印模式：</source>
        <translation>Afdrukmodus:</translation>
    </message>
    <message>
        <source>热敏</source>
        <translation>Direct thermisch</translation>
    </message>
    <message>
        <source>热转印</source>
        <translation>Thermische overdracht</translation>
    </message>
    <message>
        <source>自适应</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>自动吸纸：</source>
        <translation>Automatische papierinvoer:</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Uit</translation>
    </message>
    <message>
        <source>开</source>
        <translation>Aan</translation>
    </message>
    <message>
        <source>纸张类型：</source>
        <translation>Papiersoort:</translation>
    </message>
    <message>
        <source>标签纸</source>
        <translation>Labelpapier</translation>
    </message>
    <message>
        <source>黑标纸</source>
        <translation>Zwarte markering</translation>
    </message>
    <message>
        <source>连续纸</source>
        <translation>Doorlopend papier</translation>
    </message>
    <message>
        <source>AUTO</source>
        <translation>AUTO</translation>
    </message>
    <message>
        <source>指令集：</source>
        <translation>Commandoset:</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)：</source>
        <translation>Tussenruimte label (mm):</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)：</source>
        <translation>Afstand zwarte markering (mm):</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)：</source>
        <translation>Verticale verschuiving (mm):</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)：</source>
        <translation>Verschuiving afdruk (mm):</translation>
    </message>
    <message>
        <source>宽度：</source>
        <translation>Breedte:</translation>
    </message>
    <message>
        <source>高度：</source>
        <translation>Hoogte:</translation>
    </message>
    <message>
        <source>语言切换：</source>
        <translation>Taal:</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>Engels</translation>
    </message>
    <message>
        <source>中文简体</source>
        <translation>Vereenvoudigd Chinees</translation>
    </message>
    <message>
        <source>中文繁体</source>
        <translation>Traditioneel Chinees</translation>
    </message>
    <message>
        <source>韩文</source>
        <translation>Koreaans</translation>
    </message>
    <message>
        <source>日文</source>
        <translation>Japans</translation>
    </message>
    <message>
        <source>阿拉伯文</source>
        <translation>Arabisch</translation>
    </message>
    <message>
        <source>泰文</source>
        <translation>Thais</translation>
    </message>
    <message>
        <source>默认代码页：</source>
        <translation>Codetabel (standaard):</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Lezen</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Instellen</translation>
    </message>
    <message>
        <source>距离设置</source>
        <translation>Afstandsinstellingen</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)：</source>
        <translation>Afstand papieruitvoer tot printkop (punten):</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)：</source>
        <translation>Afstand tussenruimte tot printkop (mm):</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)：</source>
        <translation>Afstand zwarte markering tot printkop (mm):</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)：</source>
        <translation>Afstand printkop tot afscheurpositie (punten):</translation>
    </message>
    <message>
        <source>注：1mm = 8dot</source>
        <translation>Opmerking: 1 mm = 8 punten</translation>
    </message>
    <message>
        <source>wifi设置</source>
        <translation>Wifi-instellingen</translation>
    </message>
    <message>
        <source>STA模式</source>
        <translation>STA-modus</translation>
    </message>
    <message>
        <source>wifi名称：</source>
        <translation>Wifi-naam:</translation>
    </message>
    <message>
        <source>wifi密码：</source>
        <translation>Wifi-wachtwoord:</translation>
    </message>
    <message>
        <source>AP模式</source>
        <translation>AP-modus</translation>
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
        <translation>TCP-poortnummer:</translation>
    </message>
    <message>
        <source>IP设置</source>
        <translation>IP-instellingen</translation>
    </message>
    <message>
        <source>IP模式：</source>
        <translation>IP-modus:</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP:</translation>
    </message>
    <message>
        <source>子网掩码：</source>
        <translation>Subnetmasker:</translation>
    </message>
    <message>
        <source>网关地址：</source>
        <translation>Gatewayadres:</translation>
    </message>
    <message>
        <source>DNS:</source>
        <translation>DNS:</translation>
    </message>
    <message>
        <source>注：此项功能设置后需重启打印机</source>
        <translation>Opmerking: na deze instelling moet de printer opnieuw worden opgestart</translation>
    </message>
    <message>
        <source>注：AP模式的wifi密码最少为8位</source>
        <translation>Opmerking: het wifi-wachtwoord in AP-modus moet minstens 8 tekens bevatten</translation>
    </message>
    <message>
        <source>wifi模式：</source>
        <translation>Wifi-modus:</translation>
    </message>
    <message>
        <source>蓝牙设置</source>
        <translation>Bluetooth-instellingen</translation>
    </message>
    <message>
        <source>SPP名称:</source>
        <translation>SPP-naam:</translation>
    </message>
    <message>
        <source>BLE:</source>
        <translation>BLE:</translation>
    </message>
    <message>
        <source>SPP连接模式：</source>
        <translation>SPP-verbindingsmodus:</translation>
    </message>
    <message>
        <source>简易配对</source>
        <translation>Eenvoudige koppeling</translation>
    </message>
    <message>
        <source>配对码配对</source>
        <translation>Koppelen met pincode</translation>
    </message>
    <message>
        <source>SPP_PIN码：</source>
        <translation>SPP-pincode:</translation>
    </message>
    <message>
        <source>MAC:</source>
        <translation>MAC:</translation>
    </message>
    <message>
        <source>网口设置</source>
        <translation>Netwerkpoortinstellingen</translation>
    </message>
    <message>
        <source>串口设置</source>
        <translation>Instellingen seriële poort</translation>
    </message>
    <message>
        <source>USB打印机信息</source>
        <translation>USB-printerinformatie</translation>
    </message>
    <message>
        <source>设备SN号:</source>
        <translation>Serienummer apparaat:</translation>
    </message>
    <message>
        <source>打印机设备信息</source>
        <translation>Apparaatinformatie printer</translation>
    </message>
    <message>
        <source>剥离器设置</source>
        <translation>Afpellerinstellingen</translation>
    </message>
    <message>
        <source>剥离器取纸时间设置（单位：s）：</source>
        <translation>Afnametijd afpeller (s):</translation>
    </message>
    <message>
        <source>功能设置</source>
        <translation>Functies</translation>
    </message>
    <message>
        <source>切刀设置</source>
        <translation>Snijmesinstellingen</translation>
    </message>
    <message>
        <source>切刀关闭</source>
        <translation>Snijmes uit</translation>
    </message>
    <message>
        <source>全切</source>
        <translation>Volledige snede</translation>
    </message>
    <message>
        <source>剥离模式</source>
        <translation>Afpelmodus</translation>
    </message>
    <message>
        <source>撕离模式</source>
        <translation>Afscheurmodus</translation>
    </message>
    <message>
        <source>蜂鸣器开启</source>
        <translation>Zoemer aan</translation>
    </message>
    <message>
        <source>蜂鸣器关闭</source>
        <translation>Zoemer uit</translation>
    </message>
    <message>
        <source>按键设置开启</source>
        <translation>Knoppen aan</translation>
    </message>
    <message>
        <source>按键设置关闭</source>
        <translation>Knoppen uit</translation>
    </message>
    <message>
        <source>缝隙自学习</source>
        <translation>Tussenruimte kalibreren</translation>
    </message>
    <message>
        <source>黑标自学习</source>
        <translation>Zwarte markering kalibreren</translation>
    </message>
    <message>
        <source>DAC自学习</source>
        <translation>DAC kalibreren</translation>
    </message>
    <message>
        <source>缺纸学习</source>
        <translation>Papier-op kalibreren</translation>
    </message>
    <message>
        <source>获取打印机状态</source>
        <translation>Printerstatus opvragen</translation>
    </message>
    <message>
        <source>打印机初始化</source>
        <translation>Printer initialiseren</translation>
    </message>
    <message>
        <source>重启机器</source>
        <translation>Apparaat herstarten</translation>
    </message>
    <message>
        <source>打印自检页</source>
        <translation>Zelftestpagina afdrukken</translation>
    </message>
    <message>
        <source>WIFI配网</source>
        <translation>Wifi instellen</translation>
    </message>
    <message>
        <source>出纸口纸边传感器自学习</source>
        <translation>Papierrandsensor bij uitvoer kalibreren</translation>
    </message>
    <message>
        <source>维护升级</source>
        <translation>Onderhoud en bijwerken</translation>
    </message>
    <message>
        <source>下载固件</source>
        <translation>Firmware laden</translation>
    </message>
    <message>
        <source>下载字库</source>
        <translation>Lettertypen laden</translation>
    </message>
    <message>
        <source>打印机资讯</source>
        <translation>Printerinformatie</translation>
    </message>
    <message>
        <source>打印机型号 ：</source>
        <translation>Printermodel:</translation>
    </message>
    <message>
        <source>打印机版本：</source>
        <translation>Printerversie:</translation>
    </message>
    <message>
        <source>分辩率：</source>
        <translation>Resolutie:</translation>
    </message>
    <message>
        <source>最大纸张宽度：</source>
        <translation>Maximale papierbreedte:</translation>
    </message>
    <message>
        <source>读取打印机资讯</source>
        <translation>Printerinformatie lezen</translation>
    </message>
    <message>
        <source>消息区</source>
        <translation>Berichten</translation>
    </message>
    <message>
        <source>HEX接收</source>
        <translation>HEX ontvangen</translation>
    </message>
    <message>
        <source>清空接收</source>
        <translation>Ontvangst wissen</translation>
    </message>
    <message>
        <source>发送区</source>
        <translation>Verzenden</translation>
    </message>
    <message>
        <source>HEX发送</source>
        <translation>HEX verzenden</translation>
    </message>
    <message>
        <source>清空发送</source>
        <translation>Verzending wissen</translation>
    </message>
    <message>
        <source>发送文件</source>
        <translation>Bestand verzenden</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Verzenden</translation>
    </message>
    <message>
        <source>发送进度</source>
        <translation>Voortgang verzenden</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Instellingsprogramma</translation>
    </message>
    <message>
        <source>内存分配失败</source>
        <translation>Geheugentoewijzing mislukt</translation>
    </message>
    <message>
        <source>请确保通讯设备已开启</source>
        <translation>Controleer of het communicatieapparaat is ingeschakeld</translation>
    </message>
    <message>
        <source>请先选中打印列表中的打印机</source>
        <translation>Selecteer eerst de printer in de lijst</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Fout</translation>
    </message>
    <message>
        <source>连接超时，请重试！</source>
        <translation>Time-out bij verbinden, probeer het opnieuw!</translation>
    </message>
    <message>
        <source>连接成功！</source>
        <translation>Verbinding geslaagd!</translation>
    </message>
    <message>
        <source>注：1mm = 12dot</source>
        <translation>Opmerking: 1 mm = 12 punten</translation>
    </message>
    <message>
        <source>关闭成功！</source>
        <translation>Succesvol gesloten!</translation>
    </message>
    <message>
        <source>宽度范围20-108mm，请重新输入</source>
        <translation>Breedte 20–108 mm, voer opnieuw in</translation>
    </message>
    <message>
        <source>高度范围10-1778mm，请重新输入</source>
        <translation>Hoogte 10–1778 mm, voer opnieuw in</translation>
    </message>
    <message>
        <source>请先打开设备</source>
        <translation>Open eerst het apparaat</translation>
    </message>
    <message>
        <source>处理成功</source>
        <translation>Succesvol verwerkt</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Controleer of de printer is aangesloten</translation>
    </message>
    <message>
        <source>USB通讯出错，请重试</source>
        <translation>USB-communicatiefout, probeer het opnieuw</translation>
    </message>
    <message>
        <source>网络通讯出错，请重试</source>
        <translation>Netwerkcommunicatiefout, probeer het opnieuw</translation>
    </message>
    <message>
        <source>蓝牙通讯出错，请重试</source>
        <translation>Bluetooth-communicatiefout, probeer het opnieuw</translation>
    </message>
    <message>
        <source>串口通讯出错，请重试</source>
        <translation>Seriële communicatiefout, probeer het opnieuw</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)</source>
        <translation>Afstand papieruitvoer tot printkop (punten)</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)</source>
        <translation>Afstand tussenruimte tot printkop (mm)</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)</source>
        <translation>Afstand zwarte markering tot printkop (mm)</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)</source>
        <translation>Afstand printkop tot afscheurpositie (punten)</translation>
    </message>
    <message>
        <source>%1的取值范围为%2 ~ %3，请重新输入</source>
        <translation>De waarde van %1 moet tussen %2 en %3 liggen, voer opnieuw in</translation>
    </message>
    <message>
        <source>%1过长，最多%2字节（UTF-8），请重新输入</source>
        <translation>%1 is te lang, maximaal %2 bytes (UTF-8), voer opnieuw in</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)</source>
        <translation>Labeltussenruimte (mm)</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)</source>
        <translation>Zwarte-markeringsafstand (mm)</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)</source>
        <translation>Verticale verschuiving (mm)</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)</source>
        <translation>Afdrukverschuiving (mm)</translation>
    </message>
    <message>
        <source>设备SN号</source>
        <translation>Serienummer apparaat</translation>
    </message>
    <message>
        <source>剥离器取纸时间（单位：s）</source>
        <translation>Afnametijd afpeller (s)</translation>
    </message>
    <message>
        <source>设备未打开!</source>
        <translation>Apparaat niet geopend!</translation>
    </message>
    <message>
        <source>此十六进制字符串格式无效。</source>
        <translation>Ongeldige hexadecimale tekenreeks.</translation>
    </message>
    <message>
        <source>发送失败！请重试</source>
        <translation>Verzenden mislukt! Probeer het opnieuw</translation>
    </message>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Bestand openen mislukt: %1</translation>
    </message>
    <message>
        <source>连接失败: </source>
        <translation>Verbinding mislukt: </translation>
    </message>
    <message>
        <source>下载成功</source>
        <translation>Download geslaagd</translation>
    </message>
    <message>
        <source>等待打印机指示灯停止闪烁</source>
        <translation>Wacht tot het printerlampje stopt met knipperen</translation>
    </message>
    <message>
        <source>%1每段的取值范围为0 ~ 255，请重新输入</source>
        <translation>Elk deel van %1 moet tussen 0 en 255 liggen, voer opnieuw in</translation>
    </message>
    <message>
        <source>处理成功，请重启打印机</source>
        <translation>Succesvol verwerkt. Start de printer opnieuw op</translation>
    </message>
    <message>
        <source>AP模式的wifi密码最少为8位</source>
        <translation>Het wifi-wachtwoord in AP-modus moet minstens 8 tekens bevatten</translation>
    </message>
    <message>
        <source>没有访问该USB设备的权限：请安装本工具的udev规则，然后重新插拔打印机。</source>
        <translation>Geen toegang tot dit USB-apparaat: installeer de udev-regel van dit programma en sluit de printer opnieuw aan.</translation>
    </message>
    <message>
        <source>打印机接口被其他程序或驱动占用：请关闭该程序或卸载该驱动后重试。</source>
        <translation>De printerinterface wordt door een ander programma of stuurprogramma bezet: sluit dat programma of verwijder het stuurprogramma en probeer het opnieuw.</translation>
    </message>
    <message>
        <source>DHCP OFF时%1不能为空或0.0.0.0，请重新输入</source>
        <translation>Met DHCP OFF mag %1 niet leeg of 0.0.0.0 zijn, voer opnieuw in</translation>
    </message>
    <message>
        <source>固件下载进行中，关闭窗口将中断下载。确定关闭吗？</source>
        <translation>Er loopt een download; het venster sluiten onderbreekt die. Toch sluiten?</translation>
    </message>
    <message>
        <source>打印机在%1波特率下应答，已改用该波特率。</source>
        <translation>De printer antwoordde op %1 baud; de baudrate is daarop ingesteld.</translation>
    </message>
    <message>
        <source>%p%，剩余%1</source>
        <translation>%p%, nog %1</translation>
    </message>
    <message>
        <source>备份设置…</source>
        <translation>Instellingen back-uppen…</translation>
    </message>
    <message>
        <source>恢复设置…</source>
        <translation>Instellingen herstellen…</translation>
    </message>
    <message>
        <source>%1个字符</source>
        <translation>%1 tekens</translation>
    </message>
    <message>
        <source>无法读取%1</source>
        <translation>Kan %1 niet lezen</translation>
    </message>
    <message>
        <source>包含密码</source>
        <translation>Wachtwoorden opnemen</translation>
    </message>
    <message>
        <source>%1已存在，请选择新的文件名</source>
        <translation>%1 bestaat al, kies een nieuwe bestandsnaam</translation>
    </message>
    <message>
        <source>备份失败：%1</source>
        <translation>Back-up mislukt: %1</translation>
    </message>
    <message>
        <source>恢复失败：%1</source>
        <translation>Herstellen mislukt: %1</translation>
    </message>
    <message>
        <source>文件来自另一台打印机（序列号%1，这台是%2）：序列号和地址等标识设置未勾选。</source>
        <translation>Het bestand komt van een andere printer (serienummer %1, deze is %2): identiteitsinstellingen zoals serienummer en adressen zijn niet aangevinkt.</translation>
    </message>
    <message>
        <source>%1项已生效，%2项未生效。</source>
        <translation>%1 overgenomen, %2 niet overgenomen.</translation>
    </message>
    <message>
        <source>请重启打印机，使网络和蓝牙设置生效。</source>
        <translation>Start de printer opnieuw zodat de netwerk- en Bluetooth-instellingen van kracht worden.</translation>
    </message>
    <message>
        <source>将固件下载到这台打印机吗？

型号：%1
固件版本：%2
序列号：%3

文件：%4
大小：%5字节</source>
        <translation>Firmware naar deze printer downloaden?

Model: %1
Firmwareversie: %2
Serienummer: %3

Bestand: %4
Grootte: %5 bytes</translation>
    </message>
    <message>
        <source>先备份设置</source>
        <translation>Eerst instellingen back-uppen</translation>
    </message>
    <message>
        <source>备份失败：%1
不备份，继续下载固件吗？</source>
        <translation>Back-up mislukt: %1
Firmware zonder back-up downloaden?</translation>
    </message>
    <message>
        <source>正在等待打印机重新应答…</source>
        <translation>Wachten tot de printer weer antwoordt…</translation>
    </message>
    <message>
        <source>打印机在%1秒内没有重新应答。</source>
        <translation>De printer heeft binnen %1 s niet opnieuw geantwoord.</translation>
    </message>
    <message>
        <source>下载前的设置备份：%1</source>
        <translation>Back-up van de instellingen van vóór de download: %1</translation>
    </message>
    <message>
        <source>固件版本：%1 → %2</source>
        <translation>Firmwareversie: %1 → %2</translation>
    </message>
    <message>
        <source>打印机的设置与下载前的备份不同，现在恢复吗？</source>
        <translation>De instellingen van de printer wijken af van de back-up van vóór de download. Nu herstellen?</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Instellingsprogramma voor labelprinters</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Instellingsprogramma</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Controleer of de printer is aangesloten</translation>
    </message>
    <message>
        <source>空闲中</source>
        <translation>Gereed</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>Bezig met afdrukken</translation>
    </message>
    <message>
        <source>缺纸</source>
        <translation>Papier op</translation>
    </message>
    <message>
        <source>纸将尽</source>
        <translation>Papier bijna op</translation>
    </message>
    <message>
        <source>卡纸</source>
        <translation>Papierstoring</translation>
    </message>
    <message>
        <source>碳带将尽</source>
        <translation>Lint bijna op</translation>
    </message>
    <message>
        <source>无碳带</source>
        <translation>Geen lint</translation>
    </message>
    <message>
        <source>打印头过热</source>
        <translation>Printkop oververhit</translation>
    </message>
    <message>
        <source>开盖</source>
        <translation>Klep open</translation>
    </message>
    <message>
        <source>定位异常（黑标或缝隙）</source>
        <translation>Positioneringsfout (zwarte markering of tussenruimte)</translation>
    </message>
    <message>
        <source>切刀异常</source>
        <translation>Snijmesfout</translation>
    </message>
    <message>
        <source>升级中</source>
        <translation>Bezig met bijwerken</translation>
    </message>
    <message>
        <source>升级异常</source>
        <translation>Fout bij bijwerken</translation>
    </message>
    <message>
        <source>指令错误</source>
        <translation>Commandofout</translation>
    </message>
    <message>
        <source>打印暂停</source>
        <translation>Afdrukken gepauzeerd</translation>
    </message>
    <message>
        <source>打印删除</source>
        <translation>Afdruktaak verwijderd</translation>
    </message>
</context>
<context>
    <name>RestoreSettingsDialog</name>
    <message>
        <source>应用</source>
        <translation>Toepassen</translation>
    </message>
    <message>
        <source>恢复设置</source>
        <translation>Instellingen herstellen</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Instelling</translation>
    </message>
    <message>
        <source>打印机中的值</source>
        <translation>In de printer</translation>
    </message>
    <message>
        <source>文件中的值</source>
        <translation>In het bestand</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Herstellen</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Resultaat</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>跳过：这个型号没有此设置</source>
        <translation>Overgeslagen: dit model heeft deze instelling niet</translation>
    </message>
    <message>
        <source>跳过：这个型号不接受此值</source>
        <translation>Overgeslagen: dit model accepteert deze waarde niet</translation>
    </message>
    <message>
        <source>已生效</source>
        <translation>Overgenomen</translation>
    </message>
    <message>
        <source>未生效</source>
        <translation>Niet overgenomen</translation>
    </message>
</context>
<context>
    <name>WorkerThread</name>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Bestand openen mislukt: %1</translation>
    </message>
    <message>
        <source>向打印机发送数据失败。</source>
        <translation>Gegevens naar de printer verzenden mislukt.</translation>
    </message>
</context>
</TS>
