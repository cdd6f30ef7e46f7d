<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="zh_CN">
<context>
    <name>CutDialog</name>
    <message>
        <source>设置工具</source>
        <translation>Outil de configuration</translation>
    </message>
    <message>
        <source>请确保打印机是否已经安装/连接对应剥离器</source>
        <translation>Assurez-vous que l&apos;imprimante dispose du décolleur adapté installé/connecté</translation>
    </message>
</context>
<context>
    <name>DistributeNet</name>
    <message>
        <source>WIFI配网</source>
        <translation>Configuration Wi-Fi</translation>
    </message>
    <message>
        <source>请选择WiFi网络</source>
        <translation>Veuillez choisir un réseau Wi-Fi</translation>
    </message>
    <message>
        <source>可用WiFi列表（点击选择）</source>
        <translation>Réseaux Wi-Fi disponibles (cliquer pour choisir)</translation>
    </message>
    <message>
        <source>所选WiFi</source>
        <translation>Wi-Fi choisi</translation>
    </message>
    <message>
        <source>名称:</source>
        <translation>Nom&#xa0;:</translation>
    </message>
    <message>
        <source>密码：</source>
        <translation>Mot de passe&#xa0;:</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>选择手动输入</source>
        <translation>Saisir manuellement</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Actualiser la liste</translation>
    </message>
    <message>
        <source>开始配网</source>
        <translation>Lancer la configuration</translation>
    </message>
    <message>
        <source>请输入WiFi密码</source>
        <translation>Veuillez saisir le mot de passe Wi-Fi</translation>
    </message>
    <message>
        <source>扫描中...</source>
        <translation>Recherche en cours...</translation>
    </message>
    <message>
        <source>本机无法扫描WiFi网络（Linux需要NetworkManager），请选择手动输入WiFi名称</source>
        <translation>Cet ordinateur ne peut pas rechercher les réseaux Wi-Fi (NetworkManager est nécessaire sous Linux). Veuillez saisir le nom du Wi-Fi manuellement</translation>
    </message>
    <message>
        <source>本机没有WiFi网卡，无法扫描，请选择手动输入WiFi名称</source>
        <translation>Cet ordinateur n&apos;a pas de carte Wi-Fi et ne peut pas rechercher. Veuillez saisir le nom du Wi-Fi manuellement</translation>
    </message>
    <message>
        <source>本机WiFi未开启，无法扫描，请选择手动输入WiFi名称</source>
        <translation>Le Wi-Fi de cet ordinateur est désactivé, recherche impossible. Veuillez saisir le nom du Wi-Fi manuellement</translation>
    </message>
    <message>
        <source>未扫描到任何WiFi网络，请刷新列表或选择手动输入WiFi名称</source>
        <translation>Aucun réseau Wi-Fi trouvé. Veuillez actualiser la liste ou saisir le nom du Wi-Fi manuellement</translation>
    </message>
    <message>
        <source>(当前连接)</source>
        <translation>(Connecté actuellement)</translation>
    </message>
    <message>
        <source>请输入WiFi名称</source>
        <translation>Veuillez saisir le nom du Wi-Fi</translation>
    </message>
    <message>
        <source>请刷新列表，或选择手动输入WiFi名称</source>
        <translation>Veuillez actualiser la liste, ou saisir le nom du Wi-Fi manuellement</translation>
    </message>
    <message>
        <source>请选择一个WiFi</source>
        <translation>Veuillez choisir un Wi-Fi</translation>
    </message>
    <message>
        <source>NetworkManager没有应答，请刷新列表或选择手动输入WiFi名称</source>
        <translation>NetworkManager ne répond pas. Veuillez actualiser la liste ou saisir le nom du Wi-Fi manuellement</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Outil de configuration d&apos;imprimante d&apos;étiquettes</translation>
    </message>
    <message>
        <source>通讯介质</source>
        <translation>Moyen de communication</translation>
    </message>
    <message>
        <source>有线网络</source>
        <translation>Réseau filaire</translation>
    </message>
    <message>
        <source>蓝牙</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>无线网络</source>
        <translation>Réseau sans fil</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Port série</translation>
    </message>
    <message>
        <source>设备列表</source>
        <translation>Liste des appareils</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Actualiser la liste</translation>
    </message>
    <message>
        <source>停止获取</source>
        <translation>Arrêter la recherche</translation>
    </message>
    <message>
        <source>打开设备</source>
        <translation>Ouvrir l&apos;appareil</translation>
    </message>
    <message>
        <source>关闭设备</source>
        <translation>Fermer l&apos;appareil</translation>
    </message>
    <message>
        <source>IP连接设置</source>
        <translation>Paramètres de connexion IP</translation>
    </message>
    <message>
        <source>设备IP:</source>
        <translation>IP de l&apos;appareil&#xa0;:</translation>
    </message>
    <message>
        <source>TCP端口:</source>
        <translation>Port TCP&#xa0;:</translation>
    </message>
    <message>
        <source>UDP端口:</source>
        <translation>Port UDP&#xa0;:</translation>
    </message>
    <message>
        <source>串口连接设置</source>
        <translation>Paramètres de connexion série</translation>
    </message>
    <message>
        <source>流控方式:</source>
        <translation>Contrôle de flux&#xa0;:</translation>
    </message>
    <message>
        <source>无</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>硬件</source>
        <translation>Matériel</translation>
    </message>
    <message>
        <source>软件</source>
        <translation>Logiciel</translation>
    </message>
    <message>
        <source>校验位：</source>
        <translation>Parité&#xa0;:</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Débit en bauds&#xa0;:</translation>
    </message>
    <message>
        <source>数据位：</source>
        <translation>Bits de données&#xa0;:</translation>
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
        <translation>Bits d&apos;arrêt&#xa0;:</translation>
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
        <translation>Paramètres de l&apos;imprimante</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Paramètres d&apos;impression</translation>
    </message>
    <message>
        <source>打印速度：</source>
        <translation>Vitesse&#xa0;:</translation>
    </message>
    <message>
        <source>打印浓度：</source>
        <translation>Densité&#xa0;:</translation>
    </message>
    <message>
        <source>打印方向：</source>
        <translation>Sens d&apos;impression&#xa0;:</translation>
    </message>
    <message>
        <source>旋转0度</source>
        <translation>Rotation 0 degré</translation>
    </message>
    <message>
        <source>旋转180度</source>
        <translation>Rotation 180 degrés</translation>
    </message>
    <message>
        <source>打印方式：</source>
        <translation>Mode d&apos;impression&#xa0;:</translation>
    </message>
    <message>
        <source>正常打印</source>
        <translation>Normale</translation>
    </message>
    <message>
        <source>镜像打印</source>
        <translation>Miroir</translation>
    </message>
    <message>
        <source>打印模式：</source>
        <translation>Type d&apos;impression&#xa0;:</translation>
    </message>
    <message>
        <source>热敏</source>
        <translation>Thermique direct</translation>
    </message>
    <message>
        <source>热转印</source>
        <translation>Transfert thermique</translation>
    </message>
    <message>
        <source>自适应</source>
        <translation>Adaptatif</translation>
    </message>
    <message>
        <source>自动吸纸：</source>
        <translation>Chargement automatique du papier&#xa0;:</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>开</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>纸张类型：</source>
        <translation>Type de papier&#xa0;:</translation>
    </message>
    <message>
        <source>标签纸</source>
        <translation>Étiquettes</translation>
    </message>
    <message>
        <source>黑标纸</source>
        <translation>Papier à marque noire</translation>
    </message>
    <message>
        <source>连续纸</source>
        <translation>Papier continu</translation>
    </message>
    <message>
        <source>AUTO</source>
        <translation>AUTO</translation>
    </message>
    <message>
        <source>指令集：</source>
        <translation>Jeu de commandes&#xa0;:</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)：</source>
        <translation>Espace entre étiquettes (mm)&#xa0;:</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)：</source>
        <translation>Espace de marque noire (mm)&#xa0;:</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)：</source>
        <translation>Décalage vertical (mm)&#xa0;:</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)：</source>
        <translation>Décalage d&apos;impression (mm)&#xa0;:</translation>
    </message>
    <message>
        <source>宽度：</source>
        <translation>Largeur&#xa0;:</translation>
    </message>
    <message>
        <source>高度：</source>
        <translation>Hauteur&#xa0;:</translation>
    </message>
    <message>
        <source>语言切换：</source>
        <translation>Langue&#xa0;:</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>Anglais</translation>
    </message>
    <message>
        <source>中文简体</source>
        <translation>Chinois simplifié</translation>
    </message>
    <message>
        <source>中文繁体</source>
        <translation>Chinois traditionnel</translation>
    </message>
    <message>
        <source>韩文</source>
        <translation>Coréen</translation>
    </message>
    <message>
        <source>日文</source>
        <translation>Japonais</translation>
    </message>
    <message>
        <source>阿拉伯文</source>
        <translation>Arabe</translation>
    </message>
    <message>
        <source>泰文</source>
        <translation>Thaï</translation>
    </message>
    <message>
        <source>默认代码页：</source>
        <translation>Page de codes par défaut&#xa0;:</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Définir</translation>
    </message>
    <message>
        <source>距离设置</source>
        <translation>Paramètres de distance</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)：</source>
        <translation>Distance sortie papier – tête d&apos;impression (points)&#xa0;:</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)：</source>
        <translation>Distance espace – tête d&apos;impression (mm)&#xa0;:</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)：</source>
        <translation>Distance marque noire – tête d&apos;impression (mm)&#xa0;:</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)：</source>
        <translation>Distance tête d&apos;impression – position de découpe (points)&#xa0;:</translation>
    </message>
    <message>
        <source>注：1mm = 8dot</source>
        <translation>Remarque&#xa0;: 1 mm = 8 points</translation>
    </message>
    <message>
        <source>wifi设置</source>
        <translation>Paramètres Wi-Fi</translation>
    </message>
    <message>
        <source>STA模式</source>
        <translation>Mode STA</translation>
    </message>
    <message>
        <source>wifi名称：</source>
        <translation>Nom du Wi-Fi&#xa0;:</translation>
    </message>
    <message>
        <source>wifi密码：</source>
        <translation>Mot de passe Wi-Fi&#xa0;:</translation>
    </message>
    <message>
        <source>AP模式</source>
        <translation>Mode AP</translation>
    </message>
    <message>
        <source> AP_IP:</source>
        <translation> AP_IP&#xa0;:</translation>
    </message>
    <message>
        <source>MAC：</source>
        <translation>MAC&#xa0;:</translation>
    </message>
    <message>
        <source>TCP端口号：</source>
        <translation>Numéro de port TCP&#xa0;:</translation>
    </message>
    <message>
        <source>IP设置</source>
        <translation>Paramètres IP</translation>
    </message>
    <message>
        <source>IP模式：</source>
        <translation>Mode IP&#xa0;:</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP&#xa0;:</translation>
    </message>
    <message>
        <source>子网掩码：</source>
        <translation>Masque de sous-réseau&#xa0;:</translation>
    </message>
    <message>
        <source>网关地址：</source>
        <translation>Adresse de la passerelle&#xa0;:</translation>
    </message>
    <message>
        <source>DNS:</source>
        <translation>DNS&#xa0;:</translation>
    </message>
    <message>
        <source>注：此项功能设置后需重启打印机</source>
        <translation>Remarque&#xa0;: l&apos;imprimante doit être redémarrée après ce réglage</translation>
    </message>
    <message>
        <source>注：AP模式的wifi密码最少为8位</source>
        <translation>Remarque&#xa0;: le mot de passe Wi-Fi en mode AP doit comporter au moins 8 caractères</translation>
    </message>
    <message>
        <source>wifi模式：</source>
        <translation>Mode Wi-Fi&#xa0;:</translation>
    </message>
    <message>
        <source>蓝牙设置</source>
        <translation>Paramètres Bluetooth</translation>
    </message>
    <message>
        <source>SPP名称:</source>
        <translation>Nom SPP&#xa0;:</translation>
    </message>
    <message>
        <source>BLE:</source>
        <translation>BLE&#xa0;:</translation>
    </message>
    <message>
        <source>SPP连接模式：</source>
        <translation>Mode de connexion SPP&#xa0;:</translation>
    </message>
    <message>
        <source>简易配对</source>
        <translation>Appairage simple</translation>
    </message>
    <message>
        <source>配对码配对</source>
        <translation>Appairage par code PIN</translation>
    </message>
    <message>
        <source>SPP_PIN码：</source>
        <translation>Code PIN SPP&#xa0;:</translation>
    </message>
    <message>
        <source>MAC:</source>
        <translation>MAC&#xa0;:</translation>
    </message>
    <message>
        <source>网口设置</source>
        <translation>Paramètres du port réseau</translation>
    </message>
    <message>
        <source>串口设置</source>
        <translation>Paramètres du port série</translation>
    </message>
    <message>
        <source>USB打印机信息</source>
        <translation>Informations de l&apos;imprimante USB</translation>
    </message>
    <message>
        <source>设备SN号:</source>
        <translation>Numéro de série de l&apos;appareil&#xa0;:</translation>
    </message>
    <message>
        <source>打印机设备信息</source>
        <translation>Informations sur l&apos;appareil</translation>
    </message>
    <message>
        <source>剥离器设置</source>
        <translation>Paramètres du décolleur</translation>
    </message>
    <message>
        <source>剥离器取纸时间设置（单位：s）：</source>
        <translation>Délai de retrait du décolleur (s)&#xa0;:</translation>
    </message>
    <message>
        <source>功能设置</source>
        <translation>Fonctions</translation>
    </message>
    <message>
        <source>切刀设置</source>
        <translation>Paramètres du massicot</translation>
    </message>
    <message>
        <source>切刀关闭</source>
        <translation>Massicot désactivé</translation>
    </message>
    <message>
        <source>全切</source>
        <translation>Coupe complète</translation>
    </message>
    <message>
        <source>剥离模式</source>
        <translation>Mode décollage</translation>
    </message>
    <message>
        <source>撕离模式</source>
        <translation>Mode détachement</translation>
    </message>
    <message>
        <source>蜂鸣器开启</source>
        <translation>Bip activé</translation>
    </message>
    <message>
        <source>蜂鸣器关闭</source>
        <translation>Bip désactivé</translation>
    </message>
    <message>
        <source>按键设置开启</source>
        <translation>Boutons activés</translation>
    </message>
    <message>
        <source>按键设置关闭</source>
        <translation>Boutons désactivés</translation>
    </message>
    <message>
        <source>缝隙自学习</source>
        <translation>Calibrer les espaces</translation>
    </message>
    <message>
        <source>黑标自学习</source>
        <translation>Calibrer la marque noire</translation>
    </message>
    <message>
        <source>DAC自学习</source>
        <translation>Calibrer le DAC</translation>
    </message>
    <message>
        <source>缺纸学习</source>
        <translation>Calibrer la fin de papier</translation>
    </message>
    <message>
        <source>获取打印机状态</source>
        <translation>Obtenir l&apos;état de l&apos;imprimante</translation>
    </message>
    <message>
        <source>打印机初始化</source>
        <translation>Initialiser l&apos;imprimante</translation>
    </message>
    <message>
        <source>重启机器</source>
        <translation>Redémarrer l&apos;appareil</translation>
    </message>
    <message>
        <source>打印自检页</source>
        <translation>Imprimer la page d&apos;autotest</translation>
    </message>
    <message>
        <source>WIFI配网</source>
        <translation>Configuration Wi-Fi</translation>
    </message>
    <message>
        <source>出纸口纸边传感器自学习</source>
        <translation>Calibrer le capteur de bord en sortie papier</translation>
    </message>
    <message>
        <source>维护升级</source>
        <translation>Maintenance et mise à jour</translation>
    </message>
    <message>
        <source>下载固件</source>
        <translation>Télécharger le micrologiciel</translation>
    </message>
    <message>
        <source>下载字库</source>
        <translation>Télécharger les polices</translation>
    </message>
    <message>
        <source>打印机资讯</source>
        <translation>Informations sur l&apos;imprimante</translation>
    </message>
    <message>
        <source>打印机型号 ：</source>
        <translation>Modèle d&apos;imprimante&#xa0;:</translation>
    </message>
    <message>
        <source>打印机版本：</source>
        <translation>Version de l&apos;imprimante&#xa0;:</translation>
    </message>
    <message>
        <source>分辩率：</source>
        <translation>Résolution&#xa0;:</translation>
    </message>
    <message>
        <source>最大纸张宽度：</source>
        <translation>Largeur de papier maximale&#xa0;:</translation>
    </message>
    <message>
        <source>读取打印机资讯</source>
        <translation>Lire les informations</translation>
    </message>
    <message>
        <source>消息区</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>HEX接收</source>
        <translation>Réception HEX</translation>
    </message>
    <message>
        <source>清空接收</source>
        <translation>Effacer la réception</translation>
    </message>
    <message>
        <source>发送区</source>
        <translation>Envoi</translation>
    </message>
    <message>
        <source>HEX发送</source>
        <translation>Envoi HEX</translation>
    </message>
    <message>
        <source>清空发送</source>
        <translation>Effacer l&apos;envoi</translation>
    </message>
    <message>
        <source>发送文件</source>
        <translation>Envoyer un fichier</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Envoyer</translation>
    </message>
    <message>
        <source>发送进度</source>
        <translation>Progression de l&apos;envoi</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Outil de configuration</translation>
    </message>
    <message>
        <source>内存分配失败</source>
        <translation>Échec de l&apos;allocation de mémoire</translation>
    </message>
    <message>
        <source>请确保通讯设备已开启</source>
        <translation>Assurez-vous que l&apos;appareil de communication est allumé</translation>
    </message>
    <message>
        <source>请先选中打印列表中的打印机</source>
        <translation>Veuillez d&apos;abord sélectionner l&apos;imprimante dans la liste</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>连接超时，请重试！</source>
        <translation>Délai de connexion dépassé, veuillez réessayer !</translation>
    </message>
    <message>
        <source>连接成功！</source>
        <translation>Connexion réussie !</translation>
    </message>
    <message>
        <source>注：1mm = 12dot</source>
        <translation>Remarque&#xa0;: 1 mm = 12 points</translation>
    </message>
    <message>
        <source>关闭成功！</source>
        <translation>Fermeture réussie !</translation>
    </message>
    <message>
        <source>宽度范围20-108mm，请重新输入</source>
        <translation>Largeur de 20 à 108 mm, veuillez ressaisir</translation>
    </message>
    <message>
        <source>高度范围10-1778mm，请重新输入</source>
        <translation>Hauteur de 10 à 1778 mm, veuillez ressaisir</translation>
    </message>
    <message>
        <source>请先打开设备</source>
        <translation>Veuillez d&apos;abord ouvrir l&apos;appareil</translation>
    </message>
    <message>
        <source>处理成功</source>
        <translation>Traitement réussi</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Assurez-vous que l&apos;imprimante est connectée</translation>
    </message>
    <message>
        <source>USB通讯出错，请重试</source>
        <translation>Erreur de communication USB, veuillez réessayer</translation>
    </message>
    <message>
        <source>网络通讯出错，请重试</source>
        <translation>Erreur de communication réseau, veuillez réessayer</translation>
    </message>
    <message>
        <source>蓝牙通讯出错，请重试</source>
        <translation>Erreur de communication Bluetooth, veuillez réessayer</translation>
    </message>
    <message>
        <source>串口通讯出错，请重试</source>
        <translation>Erreur de communication série, veuillez réessayer</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)</source>
        <translation>Distance sortie papier – tête d&apos;impression (points)</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)</source>
        <translation>Distance espace – tête d&apos;impression (mm)</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)</source>
        <translation>Distance marque noire – tête d&apos;impression (mm)</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)</source>
        <translation>Distance tête d&apos;impression – position de découpe (points)</translation>
    </message>
    <message>
        <source>%1的取值范围为%2 ~ %3，请重新输入</source>
        <translation>La valeur de %1 doit être comprise entre %2 et %3, veuillez ressaisir</translation>
    </message>
    <message>
        <source>%1过长，最多%2字节（UTF-8），请重新输入</source>
        <translation>%1 est trop long, %2 octets au maximum (UTF-8), veuillez ressaisir</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)</source>
        <translation>Espace entre étiquettes (mm)</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)</source>
        <translation>Espace de marque noire (mm)</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)</source>
        <translation>Décalage vertical (mm)</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)</source>
        <translation>Décalage d&apos;impression (mm)</translation>
    </message>
    <message>
        <source>设备SN号</source>
        <translation>Numéro de série de l&apos;appareil</translation>
    </message>
    <message>
        <source>剥离器取纸时间（单位：s）</source>
        <translation>Délai de retrait du décolleur (s)</translation>
    </message>
    <message>
        <source>设备未打开!</source>
        <translation>Appareil non ouvert !</translation>
    </message>
    <message>
        <source>此十六进制字符串格式无效。</source>
        <translation>Format de chaîne hexadécimale non valide.</translation>
    </message>
    <message>
        <source>发送失败！请重试</source>
        <translation>Échec de l&apos;envoi&#xa0;! Veuillez réessayer</translation>
    </message>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Impossible d&apos;ouvrir le fichier&#xa0;: %1</translation>
    </message>
    <message>
        <source>连接失败: </source>
        <translation>Échec de la connexion&#xa0;: </translation>
    </message>
    <message>
        <source>下载成功</source>
        <translation>Téléchargement réussi</translation>
    </message>
    <message>
        <source>等待打印机指示灯停止闪烁</source>
        <translation>Attendez que le voyant de l&apos;imprimante cesse de clignoter</translation>
    </message>
    <message>
        <source>%1每段的取值范围为0 ~ 255，请重新输入</source>
        <translation>Chaque partie de %1 doit être comprise entre 0 et 255, veuillez ressaisir</translation>
    </message>
    <message>
        <source>处理成功，请重启打印机</source>
        <translation>Traitement réussi. Veuillez redémarrer l&apos;imprimante</translation>
    </message>
    <message>
        <source>AP模式的wifi密码最少为8位</source>
        <translation>Le mot de passe Wi-Fi en mode AP doit comporter au moins 8 caractères</translation>
    </message>
    <message>
        <source>没有访问该USB设备的权限：请安装本工具的udev规则，然后重新插拔打印机。</source>
        <translation>Pas d&apos;autorisation d&apos;accès à ce périphérique USB&#xa0;: installez la règle udev de cet outil, puis rebranchez l&apos;imprimante.</translation>
    </message>
    <message>
        <source>打印机接口被其他程序或驱动占用：请关闭该程序或卸载该驱动后重试。</source>
        <translation>L&apos;interface de l&apos;imprimante est occupée par un autre programme ou pilote&#xa0;: fermez ce programme ou déchargez le pilote, puis réessayez.</translation>
    </message>
    <message>
        <source>DHCP OFF时%1不能为空或0.0.0.0，请重新输入</source>
        <translation>Avec DHCP OFF, %1 ne doit pas être vide ni 0.0.0.0, veuillez ressaisir</translation>
    </message>
    <message>
        <source>固件下载进行中，关闭窗口将中断下载。确定关闭吗？</source>
        <translation>Un téléchargement est en cours&#xa0;; fermer la fenêtre l&apos;interrompt. Fermer quand même&#xa0;?</translation>
    </message>
    <message>
        <source>打印机在%1波特率下应答，已改用该波特率。</source>
        <translation>L’imprimante a répondu à %1 bauds ; le débit a été réglé sur cette valeur.</translation>
    </message>
    <message>
        <source>%p%，剩余%1</source>
        <translation>%p%, reste %1</translation>
    </message>
    <message>
        <source>备份设置…</source>
        <translation>Sauvegarder les réglages…</translation>
    </message>
    <message>
        <source>恢复设置…</source>
        <translation>Restaurer les réglages…</translation>
    </message>
    <message>
        <source>%1个字符</source>
        <translation>%1 caractères</translation>
    </message>
    <message>
        <source>无法读取%1</source>
        <translation>Impossible de lire %1</translation>
    </message>
    <message>
        <source>包含密码</source>
        <translation>Inclure les mots de passe</translation>
    </message>
    <message>
        <source>%1已存在，请选择新的文件名</source>
        <translation>%1 existe déjà, veuillez choisir un nouveau nom de fichier</translation>
    </message>
    <message>
        <source>备份失败：%1</source>
        <translation>Échec de la sauvegarde : %1</translation>
    </message>
    <message>
        <source>恢复失败：%1</source>
        <translation>Échec de la restauration : %1</translation>
    </message>
    <message>
        <source>文件来自另一台打印机（序列号%1，这台是%2）：序列号和地址等标识设置未勾选。</source>
        <translation>Le fichier provient d’une autre imprimante (numéro de série %1, celle-ci est %2) : les réglages d’identité comme le numéro de série et les adresses ne sont pas cochés.</translation>
    </message>
    <message>
        <source>%1项已生效，%2项未生效。</source>
        <translation>%1 appliqué(s), %2 non appliqué(s).</translation>
    </message>
    <message>
        <source>请重启打印机，使网络和蓝牙设置生效。</source>
        <translation>Redémarrez l’imprimante pour que les réglages réseau et Bluetooth prennent effet.</translation>
    </message>
    <message>
        <source>将固件下载到这台打印机吗？

型号：%1
固件版本：%2
序列号：%3

文件：%4
大小：%5字节</source>
        <translation>Télécharger le micrologiciel dans cette imprimante ?

Modèle : %1
Version du micrologiciel : %2
Numéro de série : %3

Fichier : %4
Taille : %5 octets</translation>
    </message>
    <message>
        <source>先备份设置</source>
        <translation>Sauvegarder d’abord les réglages</translation>
    </message>
    <message>
        <source>备份失败：%1
不备份，继续下载固件吗？</source>
        <translation>Échec de la sauvegarde : %1
Télécharger le micrologiciel sans sauvegarde ?</translation>
    </message>
    <message>
        <source>正在等待打印机重新应答…</source>
        <translation>En attente d’une nouvelle réponse de l’imprimante…</translation>
    </message>
    <message>
        <source>打印机在%1秒内没有重新应答。</source>
        <translation>L’imprimante n’a pas répondu à nouveau dans les %1 s.</translation>
    </message>
    <message>
        <source>下载前的设置备份：%1</source>
        <translation>Sauvegarde des réglages d’avant le téléchargement : %1</translation>
    </message>
    <message>
        <source>固件版本：%1 → %2</source>
        <translation>Version du micrologiciel : %1 → %2</translation>
    </message>
    <message>
        <source>打印机的设置与下载前的备份不同，现在恢复吗？</source>
        <translation>Les réglages de l’imprimante diffèrent de la sauvegarde d’avant le téléchargement. Les restaurer maintenant ?</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Outil de configuration d&apos;imprimante d&apos;étiquettes</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Outil de configuration</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Assurez-vous que l&apos;imprimante est connectée</translation>
    </message>
    <message>
        <source>空闲中</source>
        <translation>En attente</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>En cours d&apos;impression</translation>
    </message>
    <message>
        <source>缺纸</source>
        <translation>Plus de papier</translation>
    </message>
    <message>
        <source>纸将尽</source>
        <translation>Papier presque épuisé</translation>
    </message>
    <message>
        <source>卡纸</source>
        <translation>Bourrage papier</translation>
    </message>
    <message>
        <source>碳带将尽</source>
        <translation>Ruban presque épuisé</translation>
    </message>
    <message>
        <source>无碳带</source>
        <translation>Pas de ruban</translation>
    </message>
    <message>
        <source>打印头过热</source>
        <translation>Tête d&apos;impression en surchauffe</translation>
    </message>
    <message>
        <source>开盖</source>
        <translation>Capot ouvert</translation>
    </message>
    <message>
        <source>定位异常（黑标或缝隙）</source>
        <translation>Erreur de positionnement (marque noire ou espace)</translation>
    </message>
    <message>
        <source>切刀异常</source>
        <translation>Erreur du massicot</translation>
    </message>
    <message>
        <source>升级中</source>
        <translation>Mise à jour en cours</translation>
    </message>
    <message>
        <source>升级异常</source>
        <translation>Erreur de mise à jour</translation>
    </message>
    <message>
        <source>指令错误</source>
        <translation>Erreur de commande</translation>
    </message>
    <message>
        <source>打印暂停</source>
        <translation>Impression en pause</translation>
    </message>
    <message>
        <source>打印删除</source>
        <translation>Impression supprimée</translation>
    </message>
</context>
<context>
    <name>RestoreSettingsDialog</name>
    <message>
        <source>应用</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>恢复设置</source>
        <translation>Restaurer les réglages</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Réglage</translation>
    </message>
    <message>
        <source>打印机中的值</source>
        <translation>Dans l’imprimante</translation>
    </message>
    <message>
        <source>文件中的值</source>
        <translation>Dans le fichier</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restaurer</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Résultat</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>跳过：这个型号没有此设置</source>
        <translation>Ignoré : ce modèle n’a pas ce réglage</translation>
    </message>
    <message>
        <source>跳过：这个型号不接受此值</source>
        <translation>Ignoré : ce modèle n’accepte pas cette valeur</translation>
    </message>
    <message>
        <source>已生效</source>
        <translation>Appliqué</translation>
    </message>
    <message>
        <source>未生效</source>
        <translation>Non appliqué</translation>
    </message>
</context>
<context>
    <name>WorkerThread</name>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Impossible d&apos;ouvrir le fichier&#xa0;: %1</translation>
    </message>
    <message>
        <source>向打印机发送数据失败。</source>
        <translation>Impossible d&apos;envoyer les données à l&apos;imprimante.</translation>
    </message>
</context>
</TS>
