<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="zh_CN">
<context>
    <name>CutDialog</name>
    <message>
        <source>设置工具</source>
        <translation>Einrichtungstool</translation>
    </message>
    <message>
        <source>请确保打印机是否已经安装/连接对应剥离器</source>
        <translation>Bitte stellen Sie sicher, dass am Drucker der passende Spender installiert/angeschlossen ist</translation>
    </message>
</context>
<context>
    <name>DistributeNet</name>
    <message>
        <source>WIFI配网</source>
        <translation>WLAN einrichten</translation>
    </message>
    <message>
        <source>请选择WiFi网络</source>
        <translation>Bitte ein WLAN auswählen</translation>
    </message>
    <message>
        <source>可用WiFi列表（点击选择）</source>
        <translation>Verfügbare WLANs (zum Auswählen klicken)</translation>
    </message>
    <message>
        <source>所选WiFi</source>
        <translation>Ausgewähltes WLAN</translation>
    </message>
    <message>
        <source>名称:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>密码：</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>选择手动输入</source>
        <translation>Manuell eingeben</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Liste aktualisieren</translation>
    </message>
    <message>
        <source>开始配网</source>
        <translation>Einrichtung starten</translation>
    </message>
    <message>
        <source>请输入WiFi密码</source>
        <translation>Bitte das WLAN-Passwort eingeben</translation>
    </message>
    <message>
        <source>扫描中...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>本机无法扫描WiFi网络（Linux需要NetworkManager），请选择手动输入WiFi名称</source>
        <translation>Dieser Computer kann nicht nach WLANs suchen (unter Linux wird NetworkManager benötigt). Bitte den WLAN-Namen manuell eingeben</translation>
    </message>
    <message>
        <source>本机没有WiFi网卡，无法扫描，请选择手动输入WiFi名称</source>
        <translation>Dieser Computer hat keinen WLAN-Adapter und kann nicht suchen. Bitte den WLAN-Namen manuell eingeben</translation>
    </message>
    <message>
        <source>本机WiFi未开启，无法扫描，请选择手动输入WiFi名称</source>
        <translation>WLAN ist auf diesem Computer ausgeschaltet, die Suche ist nicht möglich. Bitte den WLAN-Namen manuell eingeben</translation>
    </message>
    <message>
        <source>未扫描到任何WiFi网络，请刷新列表或选择手动输入WiFi名称</source>
        <translation>Kein WLAN gefunden. Bitte die Liste aktualisieren oder den WLAN-Namen manuell eingeben</translation>
    </message>
    <message>
        <source>(当前连接)</source>
        <translation>(Aktuell verbunden)</translation>
    </message>
    <message>
        <source>请输入WiFi名称</source>
        <translation>Bitte den WLAN-Namen eingeben</translation>
    </message>
    <message>
        <source>请刷新列表，或选择手动输入WiFi名称</source>
        <translation>Bitte die Liste aktualisieren oder den WLAN-Namen manuell eingeben</translation>
    </message>
    <message>
        <source>请选择一个WiFi</source>
        <translation>Bitte ein WLAN auswählen</translation>
    </message>
    <message>
        <source>NetworkManager没有应答，请刷新列表或选择手动输入WiFi名称</source>
        <translation>NetworkManager antwortet nicht. Bitte die Liste aktualisieren oder den WLAN-Namen manuell eingeben</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Einrichtungstool für Etikettendrucker</translation>
    </message>
    <message>
        <source>通讯介质</source>
        <translation>Verbindungsart</translation>
    </message>
    <message>
        <source>有线网络</source>
        <translation>Kabelnetzwerk</translation>
    </message>
    <message>
        <source>蓝牙</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>无线网络</source>
        <translation>WLAN</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Serielle Schnittstelle</translation>
    </message>
    <message>
        <source>设备列表</source>
        <translation>Geräteliste</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Liste aktualisieren</translation>
    </message>
    <message>
        <source>停止获取</source>
        <translation>Suche beenden</translation>
    </message>
    <message>
        <source>打开设备</source>
        <translation>Gerät öffnen</translation>
    </message>
    <message>
        <source>关闭设备</source>
        <translation>Gerät schließen</translation>
    </message>
    <message>
        <source>IP连接设置</source>
        <translation>IP-Verbindungseinstellungen</translation>
    </message>
    <message>
        <source>设备IP:</source>
        <translation>Geräte-IP:</translation>
    </message>
    <message>
        <source>TCP端口:</source>
        <translation>TCP-Port:</translation>
    </message>
    <message>
        <source>UDP端口:</source>
        <translation>UDP-Port:</translation>
    </message>
    <message>
        <source>串口连接设置</source>
        <translation>Serielle Verbindungseinstellungen</translation>
    </message>
    <message>
        <source>流控方式:</source>
        <translation>Flusssteuerung:</translation>
    </message>
    <message>
        <source>无</source>
        <translation>Keine</translation>
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
        <translation>Parität:</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Baudrate:</translation>
    </message>
    <message>
        <source>数据位：</source>
        <translation>Datenbits:</translation>
    </message>
    <message>
        <source>8bit</source>
        <translation>8 Bit</translation>
    </message>
    <message>
        <source>7bit</source>
        <translation>7 Bit</translation>
    </message>
    <message>
        <source>停止位：</source>
        <translation>Stoppbits:</translation>
    </message>
    <message>
        <source>1bit</source>
        <translation>1 Bit</translation>
    </message>
    <message>
        <source>2bit</source>
        <translation>2 Bit</translation>
    </message>
    <message>
        <source>打印机设置</source>
        <translation>Druckereinstellungen</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Druckeinstellungen</translation>
    </message>
    <message>
        <source>打印速度：</source>
        <translation>Geschwindigkeit:</translation>
    </message>
    <message>
        <source>打印浓度：</source>
        <translation>Druckdichte:</translation>
    </message>
    <message>
        <source>打印方向：</source>
        <translation>Druckrichtung:</translation>
    </message>
    <message>
        <source>旋转0度</source>
        <translation>0 Grad drehen</translation>
    </message>
    <message>
        <source>旋转180度</source>
        <translation>180 Grad drehen</translation>
    </message>
    <message>
        <source>打印方式：</source>
        <translation>Druckart:</translation>
    </message>
    <message>
        <source>正常打印</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>镜像打印</source>
        <translation>Gespiegelt</translation>
    </message>
    <message>
        <source>打印模式：</source>
        <translation>Druckmodus:</translation>
    </message>
    <message>
        <source>热敏</source>
        <translation>Thermodirekt</translation>
    </message>
    <message>
        <source>热转印</source>
        <translation>Thermotransfer</translation>
    </message>
    <message>
        <source>自适应</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>自动吸纸：</source>
        <translation>Automatischer Papiereinzug:</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>开</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>纸张类型：</source>
        <translation>Papiertyp:</translation>
    </message>
    <message>
        <source>标签纸</source>
        <translation>Etikettenpapier</translation>
    </message>
    <message>
        <source>黑标纸</source>
        <translation>Schwarzmarkenpapier</translation>
    </message>
    <message>
        <source>连续纸</source>
        <translation>Endlospapier</translation>
    </message>
    <message>
        <source>AUTO</source>
        <translation>AUTO</translation>
    </message>
    <message>
        <source>指令集：</source>
        <translation>Befehlssatz:</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)：</source>
        <translation>Etikettenabstand (mm):</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)：</source>
        <translation>Abstand Schwarzmarke (mm):</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)：</source>
        <translation>Vertikaler Versatz (mm):</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)：</source>
        <translation>Druckversatz (mm):</translation>
    </message>
    <message>
        <source>宽度：</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>高度：</source>
        <translation>Höhe:</translation>
    </message>
    <message>
        <source>语言切换：</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <source>中文简体</source>
        <translation>Chinesisch (vereinfacht)</translation>
    </message>
    <message>
        <source>中文繁体</source>
        <translation>Chinesisch (traditionell)</translation>
    </message>
    <message>
        <source>韩文</source>
        <translation>Koreanisch</translation>
    </message>
    <message>
        <source>日文</source>
        <translation>Japanisch</translation>
    </message>
    <message>
        <source>阿拉伯文</source>
        <translation>Arabisch</translation>
    </message>
    <message>
        <source>泰文</source>
        <translation>Thailändisch</translation>
    </message>
    <message>
        <source>默认代码页：</source>
        <translation>Standard-Codepage:</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Festlegen</translation>
    </message>
    <message>
        <source>距离设置</source>
        <translation>Abstandseinstellungen</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)：</source>
        <translation>Abstand Papierausgabe – Druckkopf (Punkte):</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)：</source>
        <translation>Abstand Lücke – Druckkopf (mm):</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)：</source>
        <translation>Abstand Schwarzmarke – Druckkopf (mm):</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)：</source>
        <translation>Abstand Druckkopf – Abreißposition (Punkte):</translation>
    </message>
    <message>
        <source>注：1mm = 8dot</source>
        <translation>Hinweis: 1 mm = 8 Punkte</translation>
    </message>
    <message>
        <source>wifi设置</source>
        <translation>WLAN-Einstellungen</translation>
    </message>
    <message>
        <source>STA模式</source>
        <translation>STA-Modus</translation>
    </message>
    <message>
        <source>wifi名称：</source>
        <translation>WLAN-Name:</translation>
    </message>
    <message>
        <source>wifi密码：</source>
        <translation>WLAN-Passwort:</translation>
    </message>
    <message>
        <source>AP模式</source>
        <translation>AP-Modus</translation>
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
        <translation>TCP-Portnummer:</translation>
    </message>
    <message>
        <source>IP设置</source>
        <translation>IP-Einstellungen</translation>
    </message>
    <message>
        <source>IP模式：</source>
        <translation>IP-Modus:</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP:</translation>
    </message>
    <message>
        <source>子网掩码：</source>
        <translation>Subnetzmaske:</translation>
    </message>
    <message>
        <source>网关地址：</source>
        <translation>Gateway-Adresse:</translation>
    </message>
    <message>
        <source>DNS:</source>
        <translation>DNS:</translation>
    </message>
    <message>
        <source>注：此项功能设置后需重启打印机</source>
        <translation>Hinweis: Nach dieser Einstellung muss der Drucker neu gestartet werden</translation>
    </message>
    <message>
        <source>注：AP模式的wifi密码最少为8位</source>
        <translation>Hinweis: Das WLAN-Passwort im AP-Modus muss mindestens 8 Zeichen lang sein</translation>
    </message>
    <message>
        <source>wifi模式：</source>
        <translation>WLAN-Modus:</translation>
    </message>
    <message>
        <source>蓝牙设置</source>
        <translation>Bluetooth-Einstellungen</translation>
    </message>
    <message>
        <source>SPP名称:</source>
        <translation>SPP-Name:</translation>
    </message>
    <message>
        <source>BLE:</source>
        <translation>BLE:</translation>
    </message>
    <message>
        <source>SPP连接模式：</source>
        <translation>SPP-Verbindungsmodus:</translation>
    </message>
    <message>
        <source>简易配对</source>
        <translation>Einfache Kopplung</translation>
    </message>
    <message>
        <source>配对码配对</source>
        <translation>Kopplung mit PIN</translation>
    </message>
    <message>
        <source>SPP_PIN码：</source>
        <translation>SPP-PIN:</translation>
    </message>
    <message>
        <source>MAC:</source>
        <translation>MAC:</translation>
    </message>
    <message>
        <source>网口设置</source>
        <translation>Netzwerkanschluss-Einstellungen</translation>
    </message>
    <message>
        <source>串口设置</source>
        <translation>Einstellungen der seriellen Schnittstelle</translation>
    </message>
    <message>
        <source>USB打印机信息</source>
        <translation>USB-Druckerinformationen</translation>
    </message>
    <message>
        <source>设备SN号:</source>
        <translation>Seriennummer des Geräts:</translation>
    </message>
    <message>
        <source>打印机设备信息</source>
        <translation>Druckergeräteinformationen</translation>
    </message>
    <message>
        <source>剥离器设置</source>
        <translation>Spendereinstellungen</translation>
    </message>
    <message>
        <source>剥离器取纸时间设置（单位：s）：</source>
        <translation>Entnahmezeit des Spenders (s):</translation>
    </message>
    <message>
        <source>功能设置</source>
        <translation>Funktionen</translation>
    </message>
    <message>
        <source>切刀设置</source>
        <translation>Schneidmessereinstellungen</translation>
    </message>
    <message>
        <source>切刀关闭</source>
        <translation>Schneidmesser aus</translation>
    </message>
    <message>
        <source>全切</source>
        <translation>Vollschnitt</translation>
    </message>
    <message>
        <source>剥离模式</source>
        <translation>Spendemodus</translation>
    </message>
    <message>
        <source>撕离模式</source>
        <translation>Abreißmodus</translation>
    </message>
    <message>
        <source>蜂鸣器开启</source>
        <translation>Summer ein</translation>
    </message>
    <message>
        <source>蜂鸣器关闭</source>
        <translation>Summer aus</translation>
    </message>
    <message>
        <source>按键设置开启</source>
        <translation>Tasten aktiviert</translation>
    </message>
    <message>
        <source>按键设置关闭</source>
        <translation>Tasten deaktiviert</translation>
    </message>
    <message>
        <source>缝隙自学习</source>
        <translation>Lücke einlernen</translation>
    </message>
    <message>
        <source>黑标自学习</source>
        <translation>Schwarzmarke einlernen</translation>
    </message>
    <message>
        <source>DAC自学习</source>
        <translation>DAC einlernen</translation>
    </message>
    <message>
        <source>缺纸学习</source>
        <translation>Papierende einlernen</translation>
    </message>
    <message>
        <source>获取打印机状态</source>
        <translation>Druckerstatus abfragen</translation>
    </message>
    <message>
        <source>打印机初始化</source>
        <translation>Drucker initialisieren</translation>
    </message>
    <message>
        <source>重启机器</source>
        <translation>Gerät neu starten</translation>
    </message>
    <message>
        <source>打印自检页</source>
        <translation>Selbsttestseite drucken</translation>
    </message>
    <message>
        <source>WIFI配网</source>
        <translation>WLAN einrichten</translation>
    </message>
    <message>
        <source>出纸口纸边传感器自学习</source>
        <translation>Papierkantensensor am Ausgang einlernen</translation>
    </message>
    <message>
        <source>维护升级</source>
        <translation>Wartung und Aktualisierung</translation>
    </message>
    <message>
        <source>下载固件</source>
        <translation>Firmware laden</translation>
    </message>
    <message>
        <source>下载字库</source>
        <translation>Schriftarten laden</translation>
    </message>
    <message>
        <source>打印机资讯</source>
        <translation>Druckerinformationen</translation>
    </message>
    <message>
        <source>打印机型号 ：</source>
        <translation>Druckermodell:</translation>
    </message>
    <message>
        <source>打印机版本：</source>
        <translation>Druckerversion:</translation>
    </message>
    <message>
        <source>分辩率：</source>
        <translation>Auflösung:</translation>
    </message>
    <message>
        <source>最大纸张宽度：</source>
        <translation>Maximale Papierbreite:</translation>
    </message>
    <message>
        <source>读取打印机资讯</source>
        <translation>Druckerinformationen lesen</translation>
    </message>
    <message>
        <source>消息区</source>
        <translation>Meldungen</translation>
    </message>
    <message>
        <source>HEX接收</source>
        <translation>HEX-Empfang</translation>
    </message>
    <message>
        <source>清空接收</source>
        <translation>Empfang leeren</translation>
    </message>
    <message>
        <source>发送区</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>HEX发送</source>
        <translation>HEX-Senden</translation>
    </message>
    <message>
        <source>清空发送</source>
        <translation>Senden leeren</translation>
    </message>
    <message>
        <source>发送文件</source>
        <translation>Datei senden</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>发送进度</source>
        <translation>Sendefortschritt</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Einrichtungstool</translation>
    </message>
    <message>
        <source>内存分配失败</source>
        <translation>Speicherzuweisung fehlgeschlagen</translation>
    </message>
    <message>
        <source>请确保通讯设备已开启</source>
        <translation>Bitte stellen Sie sicher, dass das Kommunikationsgerät eingeschaltet ist</translation>
    </message>
    <message>
        <source>请先选中打印列表中的打印机</source>
        <translation>Bitte wählen Sie zuerst den Drucker in der Liste aus</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>连接超时，请重试！</source>
        <translation>Zeitüberschreitung der Verbindung, bitte erneut versuchen!</translation>
    </message>
    <message>
        <source>连接成功！</source>
        <translation>Verbindung erfolgreich!</translation>
    </message>
    <message>
        <source>注：1mm = 12dot</source>
        <translation>Hinweis: 1 mm = 12 Punkte</translation>
    </message>
    <message>
        <source>关闭成功！</source>
        <translation>Erfolgreich geschlossen!</translation>
    </message>
    <message>
        <source>宽度范围20-108mm，请重新输入</source>
        <translation>Breite 20–108 mm, bitte erneut eingeben</translation>
    </message>
    <message>
        <source>高度范围10-1778mm，请重新输入</source>
        <translation>Höhe 10–1778 mm, bitte erneut eingeben</translation>
    </message>
    <message>
        <source>请先打开设备</source>
        <translation>Bitte öffnen Sie zuerst das Gerät</translation>
    </message>
    <message>
        <source>处理成功</source>
        <translation>Erfolgreich ausgeführt</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Bitte stellen Sie sicher, dass der Drucker angeschlossen ist</translation>
    </message>
    <message>
        <source>USB通讯出错，请重试</source>
        <translation>USB-Kommunikationsfehler, bitte erneut versuchen</translation>
    </message>
    <message>
        <source>网络通讯出错，请重试</source>
        <translation>Netzwerk-Kommunikationsfehler, bitte erneut versuchen</translation>
    </message>
    <message>
        <source>蓝牙通讯出错，请重试</source>
        <translation>Bluetooth-Kommunikationsfehler, bitte erneut versuchen</translation>
    </message>
    <message>
        <source>串口通讯出错，请重试</source>
        <translation>Fehler bei der seriellen Kommunikation, bitte erneut versuchen</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)</source>
        <translation>Abstand Papierausgabe – Druckkopf (Punkte)</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)</source>
        <translation>Abstand Lücke – Druckkopf (mm)</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)</source>
        <translation>Abstand Schwarzmarke – Druckkopf (mm)</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)</source>
        <translation>Abstand Druckkopf – Abreißposition (Punkte)</translation>
    </message>
    <message>
        <source>%1的取值范围为%2 ~ %3，请重新输入</source>
        <translation>Der Wert für %1 muss zwischen %2 und %3 liegen, bitte erneut eingeben</translation>
    </message>
    <message>
        <source>%1过长，最多%2字节（UTF-8），请重新输入</source>
        <translation>%1 ist zu lang, höchstens %2 Byte (UTF-8), bitte erneut eingeben</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)</source>
        <translation>Etikettenabstand (mm)</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)</source>
        <translation>Schwarzmarkenabstand (mm)</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)</source>
        <translation>Vertikaler Versatz (mm)</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)</source>
        <translation>Druckversatz (mm)</translation>
    </message>
    <message>
        <source>设备SN号</source>
        <translation>Seriennummer des Geräts</translation>
    </message>
    <message>
        <source>剥离器取纸时间（单位：s）</source>
        <translation>Entnahmezeit des Spenders (s)</translation>
    </message>
    <message>
        <source>设备未打开!</source>
        <translation>Gerät nicht geöffnet!</translation>
    </message>
    <message>
        <source>此十六进制字符串格式无效。</source>
        <translation>Ungültiges Hexadezimalformat.</translation>
    </message>
    <message>
        <source>发送失败！请重试</source>
        <translation>Senden fehlgeschlagen! Bitte erneut versuchen</translation>
    </message>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Datei konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>连接失败: </source>
        <translation>Verbindung fehlgeschlagen: </translation>
    </message>
    <message>
        <source>下载成功</source>
        <translation>Download erfolgreich</translation>
    </message>
    <message>
        <source>等待打印机指示灯停止闪烁</source>
        <translation>Warten Sie, bis die Druckerleuchte nicht mehr blinkt</translation>
    </message>
    <message>
        <source>%1每段的取值范围为0 ~ 255，请重新输入</source>
        <translation>Jeder Teil von %1 muss zwischen 0 und 255 liegen, bitte erneut eingeben</translation>
    </message>
    <message>
        <source>处理成功，请重启打印机</source>
        <translation>Erfolgreich ausgeführt. Bitte den Drucker neu starten</translation>
    </message>
    <message>
        <source>AP模式的wifi密码最少为8位</source>
        <translation>Das WLAN-Passwort im AP-Modus muss mindestens 8 Zeichen lang sein</translation>
    </message>
    <message>
        <source>没有访问该USB设备的权限：请安装本工具的udev规则，然后重新插拔打印机。</source>
        <translation>Keine Berechtigung für dieses USB-Gerät: Installieren Sie die udev-Regel dieses Programms und stecken Sie den Drucker neu ein.</translation>
    </message>
    <message>
        <source>打印机接口被其他程序或驱动占用：请关闭该程序或卸载该驱动后重试。</source>
        <translation>Die Druckerschnittstelle ist von einem anderen Programm oder Treiber belegt: Beenden Sie das Programm oder entladen Sie den Treiber und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>DHCP OFF时%1不能为空或0.0.0.0，请重新输入</source>
        <translation>Bei DHCP OFF darf %1 nicht leer oder 0.0.0.0 sein, bitte erneut eingeben</translation>
    </message>
    <message>
        <source>固件下载进行中，关闭窗口将中断下载。确定关闭吗？</source>
        <translation>Ein Download läuft; das Schließen des Fensters unterbricht ihn. Trotzdem schließen?</translation>
    </message>
    <message>
        <source>打印机在%1波特率下应答，已改用该波特率。</source>
        <translation>Der Drucker hat bei %1 Baud geantwortet; die Baudrate wurde darauf umgestellt.</translation>
    </message>
    <message>
        <source>%p%，剩余%1</source>
        <translation>%p%, noch %1</translation>
    </message>
    <message>
        <source>备份设置…</source>
        <translation>Einstellungen sichern…</translation>
    </message>
    <message>
        <source>恢复设置…</source>
        <translation>Einstellungen wiederherstellen…</translation>
    </message>
    <message>
        <source>%1个字符</source>
        <translation>%1 Zeichen</translation>
    </message>
    <message>
        <source>无法读取%1</source>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>包含密码</source>
        <translation>Passwörter einschließen</translation>
    </message>
    <message>
        <source>%1已存在，请选择新的文件名</source>
        <translation>%1 existiert bereits, bitte einen neuen Dateinamen wählen</translation>
    </message>
    <message>
        <source>备份失败：%1</source>
        <translation>Sicherung fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>恢复失败：%1</source>
        <translation>Wiederherstellung fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>文件来自另一台打印机（序列号%1，这台是%2）：序列号和地址等标识设置未勾选。</source>
        <translation>Die Datei stammt von einem anderen Drucker (Seriennummer %1, dieser hat %2): Kennungen wie Seriennummer und Adressen sind nicht angehakt.</translation>
    </message>
    <message>
        <source>%1项已生效，%2项未生效。</source>
        <translation>%1 übernommen, %2 nicht übernommen.</translation>
    </message>
    <message>
        <source>请重启打印机，使网络和蓝牙设置生效。</source>
        <translation>Starten Sie den Drucker neu, damit die Netzwerk- und Bluetooth-Einstellungen wirksam werden.</translation>
    </message>
    <message>
        <source>将固件下载到这台打印机吗？

型号：%1
固件版本：%2
序列号：%3

文件：%4
大小：%5字节</source>
        <translation>Firmware auf diesen Drucker laden?

Modell: %1
Firmwareversion: %2
Seriennummer: %3

Datei: %4
Größe: %5 Bytes</translation>
    </message>
    <message>
        <source>先备份设置</source>
        <translation>Zuerst Einstellungen sichern</translation>
    </message>
    <message>
        <source>备份失败：%1
不备份，继续下载固件吗？</source>
        <translation>Sicherung fehlgeschlagen: %1
Firmware ohne Sicherung laden?</translation>
    </message>
    <message>
        <source>正在等待打印机重新应答…</source>
        <translation>Warten, bis der Drucker wieder antwortet…</translation>
    </message>
    <message>
        <source>打印机在%1秒内没有重新应答。</source>
        <translation>Der Drucker hat innerhalb von %1 s nicht wieder geantwortet.</translation>
    </message>
    <message>
        <source>下载前的设置备份：%1</source>
        <translation>Sicherung der Einstellungen vor dem Laden: %1</translation>
    </message>
    <message>
        <source>固件版本：%1 → %2</source>
        <translation>Firmwareversion: %1 → %2</translation>
    </message>
    <message>
        <source>打印机的设置与下载前的备份不同，现在恢复吗？</source>
        <translation>Die Einstellungen des Druckers weichen von der Sicherung vor dem Laden ab. Jetzt wiederherstellen?</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Einrichtungstool für Etikettendrucker</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Einrichtungstool</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Bitte stellen Sie sicher, dass der Drucker angeschlossen ist</translation>
    </message>
    <message>
        <source>空闲中</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>Druckt</translation>
    </message>
    <message>
        <source>缺纸</source>
        <translation>Papier fehlt</translation>
    </message>
    <message>
        <source>纸将尽</source>
        <translation>Papier fast leer</translation>
    </message>
    <message>
        <source>卡纸</source>
        <translation>Papierstau</translation>
    </message>
    <message>
        <source>碳带将尽</source>
        <translation>Farbband fast leer</translation>
    </message>
    <message>
        <source>无碳带</source>
        <translation>Kein Farbband</translation>
    </message>
    <message>
        <source>打印头过热</source>
        <translation>Druckkopf überhitzt</translation>
    </message>
    <message>
        <source>开盖</source>
        <translation>Deckel offen</translation>
    </message>
    <message>
        <source>定位异常（黑标或缝隙）</source>
        <translation>Positionierungsfehler (Schwarzmarke oder Lücke)</translation>
    </message>
    <message>
        <source>切刀异常</source>
        <translation>Schneidmesserfehler</translation>
    </message>
    <message>
        <source>升级中</source>
        <translation>Aktualisierung läuft</translation>
    </message>
    <message>
        <source>升级异常</source>
        <translation>Aktualisierungsfehler</translation>
    </message>
    <message>
        <source>指令错误</source>
        <translation>Befehlsfehler</translation>
    </message>
    <message>
        <source>打印暂停</source>
        <translation>Druck angehalten</translation>
    </message>
    <message>
        <source>打印删除</source>
        <translation>Druckauftrag gelöscht</translation>
    </message>
</context>
<context>
    <name>RestoreSettingsDialog</name>
    <message>
        <source>应用</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <source>恢复设置</source>
        <translation>Einstellungen wiederherstellen</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Einstellung</translation>
    </message>
    <message>
        <source>打印机中的值</source>
        <translation>Im Drucker</translation>
    </message>
    <message>
        <source>文件中的值</source>
        <translation>In der Datei</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>跳过：这个型号没有此设置</source>
        <translation>Übersprungen: Dieses Modell hat diese Einstellung nicht</translation>
    </message>
    <message>
        <source>跳过：这个型号不接受此值</source>
        <translation>Übersprungen: Dieses Modell nimmt diesen Wert nicht an</translation>
    </message>
    <message>
        <source>已生效</source>
        <translation>Übernommen</translation>
    </message>
    <message>
        <source>未生效</source>
        <translation>Nicht übernommen</translation>
    </message>
</context>
<context>
    <name>WorkerThread</name>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Datei konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>向打印机发送数据失败。</source>
        <translation>Daten konnten nicht an den Drucker gesendet werden.</translation>
    </message>
</context>
</TS>
