<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="zh_CN">
<context>
    <name>CutDialog</name>
    <message>
        <source>设置工具</source>
        <translation>Ferramenta de configuração</translation>
    </message>
    <message>
        <source>请确保打印机是否已经安装/连接对应剥离器</source>
        <translation>Verifique se a impressora tem o descolador correto instalado/conectado</translation>
    </message>
</context>
<context>
    <name>DistributeNet</name>
    <message>
        <source>WIFI配网</source>
        <translation>Configurar Wi-Fi</translation>
    </message>
    <message>
        <source>请选择WiFi网络</source>
        <translation>Selecione uma rede Wi-Fi</translation>
    </message>
    <message>
        <source>可用WiFi列表（点击选择）</source>
        <translation>Redes Wi-Fi disponíveis (clique para selecionar)</translation>
    </message>
    <message>
        <source>所选WiFi</source>
        <translation>Wi-Fi selecionado</translation>
    </message>
    <message>
        <source>名称:</source>
        <translation>Nome:</translation>
    </message>
    <message>
        <source>密码：</source>
        <translation>Senha:</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Mostrar</translation>
    </message>
    <message>
        <source>选择手动输入</source>
        <translation>Inserir manualmente</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Atualizar lista</translation>
    </message>
    <message>
        <source>开始配网</source>
        <translation>Iniciar configuração</translation>
    </message>
    <message>
        <source>请输入WiFi密码</source>
        <translation>Digite a senha do Wi-Fi</translation>
    </message>
    <message>
        <source>扫描中...</source>
        <translation>Procurando...</translation>
    </message>
    <message>
        <source>本机无法扫描WiFi网络（Linux需要NetworkManager），请选择手动输入WiFi名称</source>
        <translation>Este computador não consegue procurar redes Wi-Fi (no Linux é preciso o NetworkManager). Digite o nome do Wi-Fi manualmente</translation>
    </message>
    <message>
        <source>本机没有WiFi网卡，无法扫描，请选择手动输入WiFi名称</source>
        <translation>Este computador não tem adaptador Wi-Fi e não consegue procurar. Digite o nome do Wi-Fi manualmente</translation>
    </message>
    <message>
        <source>本机WiFi未开启，无法扫描，请选择手动输入WiFi名称</source>
        <translation>O Wi-Fi deste computador está desligado; não é possível procurar. Digite o nome do Wi-Fi manualmente</translation>
    </message>
    <message>
        <source>未扫描到任何WiFi网络，请刷新列表或选择手动输入WiFi名称</source>
        <translation>Nenhuma rede Wi-Fi encontrada. Atualize a lista ou digite o nome do Wi-Fi manualmente</translation>
    </message>
    <message>
        <source>(当前连接)</source>
        <translation>(Conectado no momento)</translation>
    </message>
    <message>
        <source>请输入WiFi名称</source>
        <translation>Digite o nome do Wi-Fi</translation>
    </message>
    <message>
        <source>请刷新列表，或选择手动输入WiFi名称</source>
        <translation>Atualize a lista ou digite o nome do Wi-Fi manualmente</translation>
    </message>
    <message>
        <source>请选择一个WiFi</source>
        <translation>Selecione um Wi-Fi</translation>
    </message>
    <message>
        <source>NetworkManager没有应答，请刷新列表或选择手动输入WiFi名称</source>
        <translation>O NetworkManager não responde. Atualize a lista ou digite o nome do Wi-Fi manualmente</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Ferramenta de configuração da impressora de etiquetas</translation>
    </message>
    <message>
        <source>通讯介质</source>
        <translation>Meio de comunicação</translation>
    </message>
    <message>
        <source>有线网络</source>
        <translation>Rede cabeada</translation>
    </message>
    <message>
        <source>蓝牙</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>无线网络</source>
        <translation>Rede sem fio</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Porta serial</translation>
    </message>
    <message>
        <source>设备列表</source>
        <translation>Lista de dispositivos</translation>
    </message>
    <message>
        <source>刷新列表</source>
        <translation>Atualizar lista</translation>
    </message>
    <message>
        <source>停止获取</source>
        <translation>Parar busca</translation>
    </message>
    <message>
        <source>打开设备</source>
        <translation>Abrir dispositivo</translation>
    </message>
    <message>
        <source>关闭设备</source>
        <translation>Fechar dispositivo</translation>
    </message>
    <message>
        <source>IP连接设置</source>
        <translation>Configuração de conexão IP</translation>
    </message>
    <message>
        <source>设备IP:</source>
        <translation>IP do dispositivo:</translation>
    </message>
    <message>
        <source>TCP端口:</source>
        <translation>Porta TCP:</translation>
    </message>
    <message>
        <source>UDP端口:</source>
        <translation>Porta UDP:</translation>
    </message>
    <message>
        <source>串口连接设置</source>
        <translation>Configuração de conexão serial</translation>
    </message>
    <message>
        <source>流控方式:</source>
        <translation>Controle de fluxo:</translation>
    </message>
    <message>
        <source>无</source>
        <translation>Nenhum</translation>
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
        <translation>Paridade:</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Taxa de transmissão:</translation>
    </message>
    <message>
        <source>数据位：</source>
        <translation>Bits de dados:</translation>
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
        <translation>Bits de parada:</translation>
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
        <translation>Configuração da impressora</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Configuração de impressão</translation>
    </message>
    <message>
        <source>打印速度：</source>
        <translation>Velocidade:</translation>
    </message>
    <message>
        <source>打印浓度：</source>
        <translation>Densidade:</translation>
    </message>
    <message>
        <source>打印方向：</source>
        <translation>Direção:</translation>
    </message>
    <message>
        <source>旋转0度</source>
        <translation>Girar 0 graus</translation>
    </message>
    <message>
        <source>旋转180度</source>
        <translation>Girar 180 graus</translation>
    </message>
    <message>
        <source>打印方式：</source>
        <translation>Modo de impressão:</translation>
    </message>
    <message>
        <source>正常打印</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>镜像打印</source>
        <translation>Espelhada</translation>
    </message>
    <message>
        <source>打印模式：</source>
        <translation>Tipo de impressão:</translation>
    </message>
    <message>
        <source>热敏</source>
        <translation>Térmica direta</translation>
    </message>
    <message>
        <source>热转印</source>
        <translation>Transferência térmica</translation>
    </message>
    <message>
        <source>自适应</source>
        <translation>Adaptativo</translation>
    </message>
    <message>
        <source>自动吸纸：</source>
        <translation>Alimentação automática:</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Desligado</translation>
    </message>
    <message>
        <source>开</source>
        <translation>Ligado</translation>
    </message>
    <message>
        <source>纸张类型：</source>
        <translation>Tipo de papel:</translation>
    </message>
    <message>
        <source>标签纸</source>
        <translation>Etiqueta com espaço</translation>
    </message>
    <message>
        <source>黑标纸</source>
        <translation>Papel com marca preta</translation>
    </message>
    <message>
        <source>连续纸</source>
        <translation>Papel contínuo</translation>
    </message>
    <message>
        <source>AUTO</source>
        <translation>AUTO</translation>
    </message>
    <message>
        <source>指令集：</source>
        <translation>Conjunto de comandos:</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)：</source>
        <translation>Espaço entre etiquetas (mm):</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)：</source>
        <translation>Espaço da marca preta (mm):</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)：</source>
        <translation>Deslocamento vertical (mm):</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)：</source>
        <translation>Deslocamento de impressão (mm):</translation>
    </message>
    <message>
        <source>宽度：</source>
        <translation>Largura:</translation>
    </message>
    <message>
        <source>高度：</source>
        <translation>Altura:</translation>
    </message>
    <message>
        <source>语言切换：</source>
        <translation>Idioma:</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>Inglês</translation>
    </message>
    <message>
        <source>中文简体</source>
        <translation>Chinês simplificado</translation>
    </message>
    <message>
        <source>中文繁体</source>
        <translation>Chinês tradicional</translation>
    </message>
    <message>
        <source>韩文</source>
        <translation>Coreano</translation>
    </message>
    <message>
        <source>日文</source>
        <translation>Japonês</translation>
    </message>
    <message>
        <source>阿拉伯文</source>
        <translation>Árabe</translation>
    </message>
    <message>
        <source>泰文</source>
        <translation>Tailandês</translation>
    </message>
    <message>
        <source>默认代码页：</source>
        <translation>Página de código:</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Ler</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Definir</translation>
    </message>
    <message>
        <source>距离设置</source>
        <translation>Configuração de distâncias</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)：</source>
        <translation>Distância da saída de papel à cabeça de impressão (pontos):</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)：</source>
        <translation>Distância do espaço à cabeça de impressão (mm):</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)：</source>
        <translation>Distância da marca preta à cabeça de impressão (mm):</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)：</source>
        <translation>Distância da cabeça de impressão à posição de corte manual (pontos):</translation>
    </message>
    <message>
        <source>注：1mm = 8dot</source>
        <translation>Nota: 1 mm = 8 pontos</translation>
    </message>
    <message>
        <source>wifi设置</source>
        <translation>Configuração de Wi-Fi</translation>
    </message>
    <message>
        <source>STA模式</source>
        <translation>Modo STA</translation>
    </message>
    <message>
        <source>wifi名称：</source>
        <translation>Nome do Wi-Fi:</translation>
    </message>
    <message>
        <source>wifi密码：</source>
        <translation>Senha do Wi-Fi:</translation>
    </message>
    <message>
        <source>AP模式</source>
        <translation>Modo AP</translation>
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
        <translation>Número da porta TCP:</translation>
    </message>
    <message>
        <source>IP设置</source>
        <translation>Configuração de IP</translation>
    </message>
    <message>
        <source>IP模式：</source>
        <translation>Modo de IP:</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP:</translation>
    </message>
    <message>
        <source>子网掩码：</source>
        <translation>Máscara de sub-rede:</translation>
    </message>
    <message>
        <source>网关地址：</source>
        <translation>Endereço do gateway:</translation>
    </message>
    <message>
        <source>DNS:</source>
        <translation>DNS:</translation>
    </message>
    <message>
        <source>注：此项功能设置后需重启打印机</source>
        <translation>Nota: após esta configuração é necessário reiniciar a impressora</translation>
    </message>
    <message>
        <source>注：AP模式的wifi密码最少为8位</source>
        <translation>Nota: a senha do Wi-Fi no modo AP deve ter pelo menos 8 caracteres</translation>
    </message>
    <message>
        <source>wifi模式：</source>
        <translation>Modo do Wi-Fi:</translation>
    </message>
    <message>
        <source>蓝牙设置</source>
        <translation>Configuração de Bluetooth</translation>
    </message>
    <message>
        <source>SPP名称:</source>
        <translation>Nome SPP:</translation>
    </message>
    <message>
        <source>BLE:</source>
        <translation>BLE:</translation>
    </message>
    <message>
        <source>SPP连接模式：</source>
        <translation>Modo de conexão SPP:</translation>
    </message>
    <message>
        <source>简易配对</source>
        <translation>Pareamento simples</translation>
    </message>
    <message>
        <source>配对码配对</source>
        <translation>Pareamento com PIN</translation>
    </message>
    <message>
        <source>SPP_PIN码：</source>
        <translation>PIN SPP:</translation>
    </message>
    <message>
        <source>MAC:</source>
        <translation>MAC:</translation>
    </message>
    <message>
        <source>网口设置</source>
        <translation>Configuração da porta de rede</translation>
    </message>
    <message>
        <source>串口设置</source>
        <translation>Configuração da porta serial</translation>
    </message>
    <message>
        <source>USB打印机信息</source>
        <translation>Informações da impressora USB</translation>
    </message>
    <message>
        <source>设备SN号:</source>
        <translation>Número de série do dispositivo:</translation>
    </message>
    <message>
        <source>打印机设备信息</source>
        <translation>Informações do dispositivo</translation>
    </message>
    <message>
        <source>剥离器设置</source>
        <translation>Configuração do descolador</translation>
    </message>
    <message>
        <source>剥离器取纸时间设置（单位：s）：</source>
        <translation>Tempo de retirada do descolador (s):</translation>
    </message>
    <message>
        <source>功能设置</source>
        <translation>Funções</translation>
    </message>
    <message>
        <source>切刀设置</source>
        <translation>Configuração do cortador</translation>
    </message>
    <message>
        <source>切刀关闭</source>
        <translation>Cortador desligado</translation>
    </message>
    <message>
        <source>全切</source>
        <translation>Corte total</translation>
    </message>
    <message>
        <source>剥离模式</source>
        <translation>Modo descolador</translation>
    </message>
    <message>
        <source>撕离模式</source>
        <translation>Modo destacar</translation>
    </message>
    <message>
        <source>蜂鸣器开启</source>
        <translation>Sinal sonoro ligado</translation>
    </message>
    <message>
        <source>蜂鸣器关闭</source>
        <translation>Sinal sonoro desligado</translation>
    </message>
    <message>
        <source>按键设置开启</source>
        <translation>Botões ativados</translation>
    </message>
    <message>
        <source>按键设置关闭</source>
        <translation>Botões desativados</translation>
    </message>
    <message>
        <source>缝隙自学习</source>
        <translation>Calibrar espaço</translation>
    </message>
    <message>
        <source>黑标自学习</source>
        <translation>Calibrar marca preta</translation>
    </message>
    <message>
        <source>DAC自学习</source>
        <translation>Calibrar DAC</translation>
    </message>
    <message>
        <source>缺纸学习</source>
        <translation>Calibrar falta de papel</translation>
    </message>
    <message>
        <source>获取打印机状态</source>
        <translation>Obter status da impressora</translation>
    </message>
    <message>
        <source>打印机初始化</source>
        <translation>Inicializar impressora</translation>
    </message>
    <message>
        <source>重启机器</source>
        <translation>Reiniciar impressora</translation>
    </message>
    <message>
        <source>打印自检页</source>
        <translation>Imprimir página de autoteste</translation>
    </message>
    <message>
        <source>WIFI配网</source>
        <translation>Configurar Wi-Fi</translation>
    </message>
    <message>
        <source>出纸口纸边传感器自学习</source>
        <translation>Calibrar sensor de borda na saída de papel</translation>
    </message>
    <message>
        <source>维护升级</source>
        <translation>Manutenção e atualização</translation>
    </message>
    <message>
        <source>下载固件</source>
        <translation>Baixar firmware</translation>
    </message>
    <message>
        <source>下载字库</source>
        <translation>Baixar fontes</translation>
    </message>
    <message>
        <source>打印机资讯</source>
        <translation>Informações da impressora</translation>
    </message>
    <message>
        <source>打印机型号 ：</source>
        <translation>Modelo da impressora:</translation>
    </message>
    <message>
        <source>打印机版本：</source>
        <translation>Versão da impressora:</translation>
    </message>
    <message>
        <source>分辩率：</source>
        <translation>Resolução:</translation>
    </message>
    <message>
        <source>最大纸张宽度：</source>
        <translation>Largura máxima do papel:</translation>
    </message>
    <message>
        <source>读取打印机资讯</source>
        <translation>Ler informações da impressora</translation>
    </message>
    <message>
        <source>消息区</source>
        <translation>Mensagens</translation>
    </message>
    <message>
        <source>HEX接收</source>
        <translation>Receber em HEX</translation>
    </message>
    <message>
        <source>清空接收</source>
        <translation>Limpar recebidos</translation>
    </message>
    <message>
        <source>发送区</source>
        <translation>Envio</translation>
    </message>
    <message>
        <source>HEX发送</source>
        <translation>Enviar em HEX</translation>
    </message>
    <message>
        <source>清空发送</source>
        <translation>Limpar envio</translation>
    </message>
    <message>
        <source>发送文件</source>
        <translation>Enviar arquivo</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Enviar</translation>
    </message>
    <message>
        <source>发送进度</source>
        <translation>Progresso do envio</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Ferramenta de configuração</translation>
    </message>
    <message>
        <source>内存分配失败</source>
        <translation>Falha na alocação de memória</translation>
    </message>
    <message>
        <source>请确保通讯设备已开启</source>
        <translation>Verifique se o dispositivo de comunicação está ligado</translation>
    </message>
    <message>
        <source>请先选中打印列表中的打印机</source>
        <translation>Selecione primeiro a impressora na lista</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>连接超时，请重试！</source>
        <translation>Tempo de conexão esgotado, tente novamente!</translation>
    </message>
    <message>
        <source>连接成功！</source>
        <translation>Conectado com sucesso!</translation>
    </message>
    <message>
        <source>注：1mm = 12dot</source>
        <translation>Nota: 1 mm = 12 pontos</translation>
    </message>
    <message>
        <source>关闭成功！</source>
        <translation>Fechado com sucesso!</translation>
    </message>
    <message>
        <source>宽度范围20-108mm，请重新输入</source>
        <translation>Largura entre 20 e 108 mm, digite novamente</translation>
    </message>
    <message>
        <source>高度范围10-1778mm，请重新输入</source>
        <translation>Altura entre 10 e 1778 mm, digite novamente</translation>
    </message>
    <message>
        <source>请先打开设备</source>
        <translation>Abra o dispositivo primeiro</translation>
    </message>
    <message>
        <source>处理成功</source>
        <translation>Processado com sucesso</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Verifique se a impressora está conectada</translation>
    </message>
    <message>
        <source>USB通讯出错，请重试</source>
        <translation>Erro de comunicação USB, tente novamente</translation>
    </message>
    <message>
        <source>网络通讯出错，请重试</source>
        <translation>Erro de comunicação de rede, tente novamente</translation>
    </message>
    <message>
        <source>蓝牙通讯出错，请重试</source>
        <translation>Erro de comunicação Bluetooth, tente novamente</translation>
    </message>
    <message>
        <source>串口通讯出错，请重试</source>
        <translation>Erro de comunicação serial, tente novamente</translation>
    </message>
    <message>
        <source>出纸口到打印头距离(单位dot)</source>
        <translation>Distância da saída de papel à cabeça de impressão (pontos)</translation>
    </message>
    <message>
        <source>缝到打印头距离(单位mm)</source>
        <translation>Distância do espaço à cabeça de impressão (mm)</translation>
    </message>
    <message>
        <source>黑标到打印头距离(单位mm)</source>
        <translation>Distância da marca preta à cabeça de impressão (mm)</translation>
    </message>
    <message>
        <source>打印头到撕纸位置距离(单位dot)</source>
        <translation>Distância da cabeça de impressão à posição de corte manual (pontos)</translation>
    </message>
    <message>
        <source>%1的取值范围为%2 ~ %3，请重新输入</source>
        <translation>O valor de %1 deve estar entre %2 e %3, digite novamente</translation>
    </message>
    <message>
        <source>%1过长，最多%2字节（UTF-8），请重新输入</source>
        <translation>%1 é muito longo, no máximo %2 bytes (UTF-8), digite novamente</translation>
    </message>
    <message>
        <source>标签间隙(单位mm)</source>
        <translation>Espaço entre etiquetas (mm)</translation>
    </message>
    <message>
        <source>黑标间隙(单位mm)</source>
        <translation>Espaço da marca preta (mm)</translation>
    </message>
    <message>
        <source>垂直偏移(单位mm)</source>
        <translation>Deslocamento vertical (mm)</translation>
    </message>
    <message>
        <source>打印偏移(单位mm)</source>
        <translation>Deslocamento de impressão (mm)</translation>
    </message>
    <message>
        <source>设备SN号</source>
        <translation>Número de série do dispositivo</translation>
    </message>
    <message>
        <source>剥离器取纸时间（单位：s）</source>
        <translation>Tempo de retirada do descolador (s)</translation>
    </message>
    <message>
        <source>设备未打开!</source>
        <translation>Dispositivo não aberto!</translation>
    </message>
    <message>
        <source>此十六进制字符串格式无效。</source>
        <translation>Formato de cadeia hexadecimal inválido.</translation>
    </message>
    <message>
        <source>发送失败！请重试</source>
        <translation>Falha no envio! Tente novamente</translation>
    </message>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Falha ao abrir o arquivo: %1</translation>
    </message>
    <message>
        <source>连接失败: </source>
        <translation>Falha na conexão: </translation>
    </message>
    <message>
        <source>下载成功</source>
        <translation>Download concluído</translation>
    </message>
    <message>
        <source>等待打印机指示灯停止闪烁</source>
        <translation>Aguarde a luz da impressora parar de piscar</translation>
    </message>
    <message>
        <source>%1每段的取值范围为0 ~ 255，请重新输入</source>
        <translation>Cada parte de %1 deve estar entre 0 e 255, digite novamente</translation>
    </message>
    <message>
        <source>处理成功，请重启打印机</source>
        <translation>Processado com sucesso. Reinicie a impressora</translation>
    </message>
    <message>
        <source>AP模式的wifi密码最少为8位</source>
        <translation>A senha do Wi-Fi no modo AP deve ter pelo menos 8 caracteres</translation>
    </message>
    <message>
        <source>没有访问该USB设备的权限：请安装本工具的udev规则，然后重新插拔打印机。</source>
        <translation>Sem permissão para acessar este dispositivo USB: instale a regra udev desta ferramenta e reconecte a impressora.</translation>
    </message>
    <message>
        <source>打印机接口被其他程序或驱动占用：请关闭该程序或卸载该驱动后重试。</source>
        <translation>A interface da impressora está ocupada por outro programa ou driver: feche esse programa ou descarregue o driver e tente novamente.</translation>
    </message>
    <message>
        <source>DHCP OFF时%1不能为空或0.0.0.0，请重新输入</source>
        <translation>Com DHCP OFF, %1 não pode ficar vazio nem ser 0.0.0.0, digite novamente</translation>
    </message>
    <message>
        <source>固件下载进行中，关闭窗口将中断下载。确定关闭吗？</source>
        <translation>Um download está em andamento; fechar a janela o interrompe. Fechar mesmo assim?</translation>
    </message>
    <message>
        <source>打印机在%1波特率下应答，已改用该波特率。</source>
        <translation>A impressora respondeu a %1 baud; a taxa de transmissão foi alterada para esse valor.</translation>
    </message>
    <message>
        <source>%p%，剩余%1</source>
        <translation>%p%, faltam %1</translation>
    </message>
    <message>
        <source>备份设置…</source>
        <translation>Fazer backup das configurações…</translation>
    </message>
    <message>
        <source>恢复设置…</source>
        <translation>Restaurar configurações…</translation>
    </message>
    <message>
        <source>%1个字符</source>
        <translation>%1 caracteres</translation>
    </message>
    <message>
        <source>无法读取%1</source>
        <translation>Não foi possível ler %1</translation>
    </message>
    <message>
        <source>包含密码</source>
        <translation>Incluir senhas</translation>
    </message>
    <message>
        <source>%1已存在，请选择新的文件名</source>
        <translation>%1 já existe, escolha um novo nome de arquivo</translation>
    </message>
    <message>
        <source>备份失败：%1</source>
        <translation>Falha no backup: %1</translation>
    </message>
    <message>
        <source>恢复失败：%1</source>
        <translation>Falha na restauração: %1</translation>
    </message>
    <message>
        <source>文件来自另一台打印机（序列号%1，这台是%2）：序列号和地址等标识设置未勾选。</source>
        <translation>O arquivo é de outra impressora (número de série %1, esta é %2): configurações de identidade como número de série e endereços não estão marcadas.</translation>
    </message>
    <message>
        <source>%1项已生效，%2项未生效。</source>
        <translation>%1 aplicada(s), %2 não aplicada(s).</translation>
    </message>
    <message>
        <source>请重启打印机，使网络和蓝牙设置生效。</source>
        <translation>Reinicie a impressora para que as configurações de rede e Bluetooth entrem em vigor.</translation>
    </message>
    <message>
        <source>将固件下载到这台打印机吗？

型号：%1
固件版本：%2
序列号：%3

文件：%4
大小：%5字节</source>
        <translation>Baixar o firmware para esta impressora?

Modelo: %1
Versão do firmware: %2
Número de série: %3

Arquivo: %4
Tamanho: %5 bytes</translation>
    </message>
    <message>
        <source>先备份设置</source>
        <translation>Fazer backup das configurações antes</translation>
    </message>
    <message>
        <source>备份失败：%1
不备份，继续下载固件吗？</source>
        <translation>Falha no backup: %1
Baixar o firmware sem backup?</translation>
    </message>
    <message>
        <source>正在等待打印机重新应答…</source>
        <translation>Aguardando a impressora responder novamente…</translation>
    </message>
    <message>
        <source>打印机在%1秒内没有重新应答。</source>
        <translation>A impressora não respondeu novamente em %1 s.</translation>
    </message>
    <message>
        <source>下载前的设置备份：%1</source>
        <translation>Backup das configurações de antes do download: %1</translation>
    </message>
    <message>
        <source>固件版本：%1 → %2</source>
        <translation>Versão do firmware: %1 → %2</translation>
    </message>
    <message>
        <source>打印机的设置与下载前的备份不同，现在恢复吗？</source>
        <translation>As configurações da impressora diferem do backup de antes do download. Restaurar agora?</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>标签机设置工具</source>
        <translation>Ferramenta de configuração da impressora de etiquetas</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>设置工具</source>
        <translation>Ferramenta de configuração</translation>
    </message>
    <message>
        <source>请确保打印机已进行连接</source>
        <translation>Verifique se a impressora está conectada</translation>
    </message>
    <message>
        <source>空闲中</source>
        <translation>Em espera</translation>
    </message>
    <message>
        <source>打印中</source>
        <translation>Imprimindo</translation>
    </message>
    <message>
        <source>缺纸</source>
        <translation>Sem papel</translation>
    </message>
    <message>
        <source>纸将尽</source>
        <translation>Papel acabando</translation>
    </message>
    <message>
        <source>卡纸</source>
        <translation>Papel atolado</translation>
    </message>
    <message>
        <source>碳带将尽</source>
        <translation>Ribbon acabando</translation>
    </message>
    <message>
        <source>无碳带</source>
        <translation>Sem ribbon</translation>
    </message>
    <message>
        <source>打印头过热</source>
        <translation>Cabeça de impressão superaquecida</translation>
    </message>
    <message>
        <source>开盖</source>
        <translation>Tampa aberta</translation>
    </message>
    <message>
        <source>定位异常（黑标或缝隙）</source>
        <translation>Erro de posicionamento (marca preta ou espaço)</translation>
    </message>
    <message>
        <source>切刀异常</source>
        <translation>Erro do cortador</translation>
    </message>
    <message>
        <source>升级中</source>
        <translation>Atualizando</translation>
    </message>
    <message>
        <source>升级异常</source>
        <translation>Erro de atualização</translation>
    </message>
    <message>
        <source>指令错误</source>
        <translation>Erro de comando</translation>
    </message>
    <message>
        <source>打印暂停</source>
        <translation>Impressão pausada</translation>
    </message>
    <message>
        <source>打印删除</source>
        <translation>Impressão cancelada</translation>
    </message>
</context>
<context>
    <name>RestoreSettingsDialog</name>
    <message>
        <source>应用</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>恢复设置</source>
        <translation>Restaurar configurações</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Configuração</translation>
    </message>
    <message>
        <source>打印机中的值</source>
        <translation>Na impressora</translation>
    </message>
    <message>
        <source>文件中的值</source>
        <translation>No arquivo</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restaurar</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>跳过：这个型号没有此设置</source>
        <translation>Ignorado: este modelo não tem esta configuração</translation>
    </message>
    <message>
        <source>跳过：这个型号不接受此值</source>
        <translation>Ignorado: este modelo não aceita este valor</translation>
    </message>
    <message>
        <source>已生效</source>
        <translation>Aplicado</translation>
    </message>
    <message>
        <source>未生效</source>
        <translation>Não aplicado</translation>
    </message>
</context>
<context>
    <name>WorkerThread</name>
    <message>
        <source>打开文件失败：%1</source>
        <translation>Falha ao abrir o arquivo: %1</translation>
    </message>
    <message>
        <source>向打印机发送数据失败。</source>
        <translation>Falha ao enviar dados para a impressora.</translation>
    </message>
</context>
</TS>
