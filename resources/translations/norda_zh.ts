<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AddressRange</name>
    <message>
        <source>&quot;%1&quot; is not an IPv4 network such as 10.0.5.0/24.</source>
        <translation>“%1”不是 IPv4 网段（例如 10.0.5.0/24）。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an IPv4 range such as 192.168.1.10-200.</source>
        <translation>“%1”不是 IPv4 地址段（例如 192.168.1.10-200）。</translation>
    </message>
    <message>
        <source>The range &quot;%1&quot; ends before it starts.</source>
        <translation>地址段“%1”的结束地址小于起始地址。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an IPv4 address.</source>
        <translation>“%1”不是 IPv4 地址。</translation>
    </message>
    <message>
        <source>Enter the addresses to search, for example 192.168.1.10-200 or 10.0.5.0/24.</source>
        <translation>请输入要搜索的地址，例如 192.168.1.10-200 或 10.0.5.0/24。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds addresses no device can have.</source>
        <translation>“%1”包含设备不可能使用的地址。</translation>
    </message>
    <message>
        <source>At most %1 addresses can be searched at once.</source>
        <translation>一次最多可搜索 %1 个地址。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a port from 1 to 65535.</source>
        <translation>“%1”不是 1 到 65535 之间的端口。</translation>
    </message>
    <message>
        <source>Enter 1 to %1 ports, such as 80, 8000, 8080.</source>
        <translation>请输入 1 到 %1 个端口，例如 80, 8000, 8080。</translation>
    </message>
</context>
<context>
    <name>CAddByAddress</name>
    <message>
        <source>Add by Address</source>
        <translation>按地址添加</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>地址：</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>端口：</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>Enter the device&apos;s IPv4 address, such as 192.168.1.64.</source>
        <translation>请输入设备的 IPv4 地址，例如 192.168.1.64。</translation>
    </message>
    <message>
        <source>The port must be a number from 1 to 65535.</source>
        <translation>端口必须是 1 到 65535 之间的数字。</translation>
    </message>
    <message>
        <source>User name cannot be empty.</source>
        <translation>用户名不能为空。</translation>
    </message>
    <message>
        <source>Password cannot be empty.</source>
        <translation>密码不能为空。</translation>
    </message>
</context>
<context>
    <name>CAddDeviceWidget</name>
    <message>
        <source>CAddDeviceWidget</source>
        <translation>添加设备</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>摄像机</translation>
    </message>
    <message>
        <source>Camera Number:</source>
        <translation>摄像机数量:</translation>
    </message>
    <message>
        <source>Prefix:</source>
        <translation>前缀:</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>通道</translation>
    </message>
    <message>
        <source>Config</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>DeviceType:   </source>
        <translation>设备类型:   </translation>
    </message>
    <message>
        <source>Picture:</source>
        <translation>画质:</translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation>分辨率:</translation>
    </message>
    <message>
        <source>FrameRate:</source>
        <translation>帧率:</translation>
    </message>
    <message>
        <source>BitRate:</source>
        <translation>码率:</translation>
    </message>
    <message>
        <source>Recommand:</source>
        <translation>推荐码率:</translation>
    </message>
    <message>
        <source>Add&gt;&gt;</source>
        <translation>添加&gt;&gt;</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>添加设备</translation>
    </message>
    <message>
        <source>Level 1(best)</source>
        <translation>等级 1(最好)</translation>
    </message>
    <message>
        <source>Level 2</source>
        <translation>等级 2</translation>
    </message>
    <message>
        <source>Level 3</source>
        <translation>等级 3</translation>
    </message>
    <message>
        <source>Level 4</source>
        <translation>等级 4</translation>
    </message>
    <message>
        <source>Level 5</source>
        <translation>等级 5</translation>
    </message>
    <message>
        <source>Level 6</source>
        <translation>等级 6</translation>
    </message>
    <message>
        <source>Camera number cannot be empty.</source>
        <translation>摄像机数量不能为空。</translation>
    </message>
    <message>
        <source>Camera number should be less than 1024.</source>
        <translation>摄像机数量不能超过1024。</translation>
    </message>
    <message>
        <source>Bitrate should be between 32 and 16384.</source>
        <translation>码率应在32到16384之间。</translation>
    </message>
</context>
<context>
    <name>CAddressSearchDialog</name>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Search Addresses</source>
        <translation>搜索地址</translation>
    </message>
    <message>
        <source>Addresses beyond the local network: ranges, networks or lists, at most %1.</source>
        <translation>本地网络以外的地址：地址段、网段或列表，最多 %1 个。</translation>
    </message>
    <message>
        <source>Addresses:</source>
        <translation>地址：</translation>
    </message>
    <message>
        <source>Ports:</source>
        <translation>端口：</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>%1 of %2 addresses, %3 found</source>
        <translation>已搜索 %1/%2 个地址，找到 %3 台</translation>
    </message>
    <message numerus="yes">
        <source>%n device(s) found</source>
        <translation>
            <numerusform>找到 %n 台设备</numerusform>
        </translation>
    </message>
    <message>
        <source>Stopped: %1</source>
        <translation>已停止：%1</translation>
    </message>
</context>
<context>
    <name>CBaseDialog</name>
    <message>
        <source>Info</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Can not find Manual.</source>
        <translation>找不到用户手册。</translation>
    </message>
</context>
<context>
    <name>CBaseDialogClass</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CCalculateWidget</name>
    <message>
        <source>Level1(best)</source>
        <translation>等级1(最好)</translation>
    </message>
    <message>
        <source>Level2</source>
        <translation>等级2</translation>
    </message>
    <message>
        <source>Level3</source>
        <translation>等级3</translation>
    </message>
    <message>
        <source>Level4</source>
        <translation>等级4</translation>
    </message>
    <message>
        <source>Level5</source>
        <translation>等级5</translation>
    </message>
    <message>
        <source>Level6</source>
        <translation>等级6</translation>
    </message>
    <message>
        <source>Device Type</source>
        <translation>设备类型</translation>
    </message>
    <message>
        <source>Camera Name</source>
        <translation>摄像机名称</translation>
    </message>
    <message>
        <source>Picture Quality</source>
        <translation>画质</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <source>Framerate</source>
        <translation>帧率</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>码率</translation>
    </message>
    <message>
        <source>Recommand Bitrate</source>
        <translation>推荐码率</translation>
    </message>
    <message>
        <source>Warn</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Device number can be more than 1024.</source>
        <translation>设备数量不能超过1024。</translation>
    </message>
    <message>
        <source>Can not find channels.</source>
        <translation>找不到通道。</translation>
    </message>
    <message>
        <source>Disk space should less than 76056153GBs.</source>
        <translation>硬盘空间应小于76056153GB。</translation>
    </message>
    <message>
        <source>Disk space should more than 2GBs.</source>
        <translation>硬盘空间应大于2GB。</translation>
    </message>
    <message>
        <source>Record time per day should be more than 0 hours.</source>
        <translation>每天录像时间应大于0小时。</translation>
    </message>
    <message>
        <source>Total bitrate should be more than 0.</source>
        <translation>总码率应大于0。</translation>
    </message>
    <message>
        <source>Please input time.</source>
        <translation>请输入时间。</translation>
    </message>
    <message>
        <source>Record time should less than 365 days.</source>
        <translation>录像时间应小于365天。</translation>
    </message>
    <message>
        <source>Record Time should between 0 and 24hours.</source>
        <translation>录像时间应在0到24小时之间。</translation>
    </message>
    <message>
        <source>Writing...</source>
        <translation>正在写入...</translation>
    </message>
    <message>
        <source>Record time per day should be a whole number of hours.</source>
        <translation>每天录像时间应为整数小时。</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>The inputs changed since this result: press &quot;Calculate&quot; again.</source>
        <translation>输入已更改，此结果已过时：请再次点击“计算”。</translation>
    </message>
    <message>
        <source>Whole numbers only.</source>
        <translation>只能输入整数。</translation>
    </message>
    <message>
        <source>Measure bitrate...</source>
        <translation>测量码率...</translation>
    </message>
    <message>
        <source>The day and night measurements of the group &quot;%1&quot; tell a night factor of %2 % (now %3 %). Take it?</source>
        <translation>分组“%1”的白天和夜间测量得出夜间系数 %2 %（当前 %3 %）。是否采用？</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
</context>
<context>
    <name>CCalculateWidgetClass</name>
    <message>
        <source>CalculateWidget</source>
        <translation>硬盘计算</translation>
    </message>
    <message>
        <source>Channel Config</source>
        <translation>通道配置</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>计算</translation>
    </message>
    <message>
        <source>Calculate Time</source>
        <translation>计算时间</translation>
    </message>
    <message>
        <source>Disk Space:</source>
        <translation>硬盘空间:</translation>
    </message>
    <message>
        <source>TB</source>
        <translation>TB</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>Record Time:</source>
        <translation>录像时间:</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>月</translation>
    </message>
    <message>
        <source>Week</source>
        <translation>周</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>天</translation>
    </message>
    <message>
        <source>Record Time Per day:</source>
        <translation>每天录像时间:</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>小时</translation>
    </message>
    <message>
        <source>Calculate Disk</source>
        <translation>计算硬盘</translation>
    </message>
    <message>
        <source>Camera List:</source>
        <translation>摄像机列表:</translation>
    </message>
    <message>
        <source>Show Online Device</source>
        <translation>显示在线设备</translation>
    </message>
    <message>
        <source>Client</source>
        <translation>客户端</translation>
    </message>
    <message>
        <source>Add Camera</source>
        <translation>添加摄像机</translation>
    </message>
    <message>
        <source>Delete Camera</source>
        <translation>删除摄像机</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Fromat:</source>
        <translation>制式:</translation>
    </message>
    <message>
        <source>PAL</source>
        <translation>PAL</translation>
    </message>
    <message>
        <source>NTSC</source>
        <translation>NTSC</translation>
    </message>
</context>
<context>
    <name>CCopyInfo</name>
    <message>
        <source>CCopyInfo</source>
        <translation>复制方案</translation>
    </message>
    <message>
        <source>Choose which Camera to copy</source>
        <translation>选择要复制到的摄像机</translation>
    </message>
    <message>
        <source>Choose All</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>Copy plan</source>
        <translation>复制方案</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>Please select destiny channel.</source>
        <translation>请选择目标通道。</translation>
    </message>
</context>
<context>
    <name>CDeviceImporter</name>
    <message>
        <source>_IPCamera</source>
        <translation>_IP摄像机</translation>
    </message>
</context>
<context>
    <name>CDeviceSurvey</name>
    <message>
        <source>Some Channels Not Support Resolution</source>
        <translation>部分通道不支持该分辨率</translation>
    </message>
    <message>
        <source>Some Channels Can not get compress info</source>
        <translation>部分通道无法获取压缩参数</translation>
    </message>
    <message>
        <source>Not Support Resolution</source>
        <translation>不支持该分辨率</translation>
    </message>
    <message>
        <source>Can not get compress info</source>
        <translation>无法获取压缩参数</translation>
    </message>
    <message>
        <source>Import Succeed</source>
        <translation>导入成功</translation>
    </message>
</context>
<context>
    <name>CDiskArray</name>
    <message>
        <source>%1 recorders of %2 bays, each with %3 disks of %4 TB in %5, keep every group&apos;s days.</source>
        <translation>%1 台 %2 盘位的录像机，每台 %3 块 %4 TB 硬盘组成 %5，可满足每个组的保存天数。</translation>
    </message>
    <message>
        <source>1 disk of %1 TB in %2 keeps every group&apos;s days.</source>
        <translation>1 块 %1 TB 硬盘（%2）可满足每个组的保存天数。</translation>
    </message>
    <message>
        <source>%1 disks of %2 TB in %3 keep every group&apos;s days.</source>
        <translation>%1 块 %2 TB 硬盘组成 %3，可满足每个组的保存天数。</translation>
    </message>
    <message>
        <source>Plus 1 hot spare in each.</source>
        <translation>每台另加 1 块热备盘。</translation>
    </message>
    <message>
        <source>Plus 1 hot spare.</source>
        <translation>另加 1 块热备盘。</translation>
    </message>
    <message>
        <source>Plus %1 hot spares in each.</source>
        <translation>每台另加 %1 块热备盘。</translation>
    </message>
    <message>
        <source>Plus %1 hot spares.</source>
        <translation>另加 %1 块热备盘。</translation>
    </message>
    <message>
        <source>A recorder has 1 to %1 bays.</source>
        <translation>录像机的盘位数为 1 到 %1。</translation>
    </message>
    <message>
        <source>Enter the size of one disk, above 0 and at most %1 TB.</source>
        <translation>请输入单块硬盘的容量，大于 0 且不超过 %1 TB。</translation>
    </message>
    <message>
        <source>The array needs at least 1 disk.</source>
        <translation>阵列至少需要 1 块硬盘。</translation>
    </message>
    <message>
        <source>%1 hot spares do not fit in %2 bays.</source>
        <translation>%1 块热备盘放不进 %2 个盘位。</translation>
    </message>
    <message>
        <source>Disks and hot spares need %1 bays (%2 + %3); the recorder has %4.</source>
        <translation>硬盘和热备盘需要 %1 个盘位（%2 + %3），录像机只有 %4 个。</translation>
    </message>
    <message>
        <source>JBOD keeps no second copy, so a hot spare has nothing to rebuild.</source>
        <translation>JBOD 不保存第二份数据，热备盘无可重建。</translation>
    </message>
    <message>
        <source>%1 needs at least %2 disks; the array has %3.</source>
        <translation>%1 至少需要 %2 块硬盘，阵列只有 %3 块。</translation>
    </message>
    <message>
        <source>RAID 10 needs an even number of disks; the array has %1.</source>
        <translation>RAID 10 需要偶数块硬盘，阵列有 %1 块。</translation>
    </message>
    <message>
        <source>%1 needs groups of at least %2 disks.</source>
        <translation>%1 的每组至少需要 %2 块硬盘。</translation>
    </message>
    <message>
        <source>%1 disks do not make whole groups of %2.</source>
        <translation>%1 块硬盘不能分成每组 %2 块的整组。</translation>
    </message>
    <message>
        <source>%1 needs at least 2 groups of %2 disks, %3 disks.</source>
        <translation>%1 至少需要 2 组、每组 %2 块，共 %3 块硬盘。</translation>
    </message>
    <message>
        <source>The file-system reserve is 0 to %1 %.</source>
        <translation>文件系统预留为 0 到 %1 %。</translation>
    </message>
    <message>
        <source>The fill limit is 0 to %1 %.</source>
        <translation>满盘阈值为 0 到 %1 %。</translation>
    </message>
    <message>
        <source>Enter the disk&apos;s workload rating, above 0 TB/year.</source>
        <translation>请输入硬盘的额定工作负载，大于 0 TB/年。</translation>
    </message>
    <message>
        <source>Enter the rebuild rate, above 0 MB/s.</source>
        <translation>请输入重建速率，大于 0 MB/s。</translation>
    </message>
    <message>
        <source>Recorder 1</source>
        <translation>录像机 1</translation>
    </message>
    <message>
        <source>%1 x %2 TB %3</source>
        <translation>%1 x %2 TB %3</translation>
    </message>
    <message>
        <source>(groups of %1)</source>
        <translation>（每组 %1 块）</translation>
    </message>
    <message>
        <source>spares: %1</source>
        <translation>热备盘：%1</translation>
    </message>
</context>
<context>
    <name>CDlgAbout</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source> v3.0.0.3</source>
        <translation> v3.0.0.3</translation>
    </message>
</context>
<context>
    <name>CDlgAboutClass</name>
    <message>
        <source>Name:</source>
        <translation>名称:</translation>
    </message>
    <message>
        <source>NORDA</source>
        <translation>NORDA</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>CHourChart</name>
    <message>
        <source>Continuous</source>
        <translation>连续录像</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>事件录像</translation>
    </message>
    <message>
        <source>Night</source>
        <translation>夜间</translation>
    </message>
    <message>
        <source>Click an hour to change it</source>
        <translation>单击某一小时可更改</translation>
    </message>
</context>
<context>
    <name>CImportClientWidget</name>
    <message>
        <source>Database Path:</source>
        <translation>数据库路径：</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Add&gt;&gt;</source>
        <translation>添加&gt;&gt;</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Log in failed</source>
        <translation>登录失败</translation>
    </message>
    <message>
        <source>Read from Database</source>
        <translation>从数据库读取</translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation>设备名称</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP地址</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Select Database</source>
        <translation>选择数据库</translation>
    </message>
    <message>
        <source>*.db</source>
        <translation>*.db</translation>
    </message>
    <message>
        <source>Database path can not be empty.</source>
        <translation>数据库路径不能为空。</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Can not recognize database file.</source>
        <translation>无法识别数据库文件。</translation>
    </message>
    <message>
        <source>Not Imported</source>
        <translation>未导入</translation>
    </message>
    <message>
        <source>Please select device.</source>
        <translation>请选择设备。</translation>
    </message>
    <message>
        <source>The list holds at most %1 devices; the rest of the database was not read.</source>
        <translation>列表最多容纳 %1 个设备；数据库中其余部分未读取。</translation>
    </message>
    <message>
        <source>Reading the database took too long and was stopped; the devices read so far are listed.</source>
        <translation>读取数据库耗时过长，已停止；已列出目前读到的设备。</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Reading... devices found: %1</source>
        <translation>正在读取... 已找到设备：%1</translation>
    </message>
</context>
<context>
    <name>CLogin</name>
    <message>
        <source>Username:</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>User name cannot be empty.</source>
        <translation>用户名不能为空。</translation>
    </message>
    <message>
        <source>Password cannot be empty.</source>
        <translation>密码不能为空。</translation>
    </message>
    <message>
        <source>Accept the device&apos;s new certificate</source>
        <translation>接受设备的新证书</translation>
    </message>
</context>
<context>
    <name>CMeasureDialog</name>
    <message>
        <source>Measure Bitrate</source>
        <translation>测量码率</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>摄像机</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Codec</source>
        <translation>编码</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>帧率</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>平均</translation>
    </message>
    <message>
        <source>Peak</source>
        <translation>峰值</translation>
    </message>
    <message>
        <source>95 %</source>
        <translation>95 %</translation>
    </message>
    <message>
        <source>Key Frames</source>
        <translation>关键帧</translation>
    </message>
    <message>
        <source>Measured At</source>
        <translation>测量时间</translation>
    </message>
    <message>
        <source>Configured</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Recommended</source>
        <translation>推荐</translation>
    </message>
    <message>
        <source>Average bitrate, kbit/s</source>
        <translation>平均码率，kbit/s</translation>
    </message>
    <message>
        <source>Largest one-second window, kbit/s</source>
        <translation>最大的一秒窗口，kbit/s</translation>
    </message>
    <message>
        <source>95th percentile of the one-second windows, kbit/s</source>
        <translation>一秒窗口的第 95 百分位，kbit/s</translation>
    </message>
    <message>
        <source>Seconds between key frames</source>
        <translation>关键帧间隔（秒）</translation>
    </message>
    <message>
        <source>Configured bitrate, kbit/s</source>
        <translation>配置码率，kbit/s</translation>
    </message>
    <message>
        <source>Recommended bitrate, kbit/s</source>
        <translation>推荐码率，kbit/s</translation>
    </message>
    <message>
        <source>Duration (s):</source>
        <translation>时长（秒）：</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Take the measured average as:</source>
        <translation>将测得的平均值用作：</translation>
    </message>
    <message>
        <source>Average share of the bitrate</source>
        <translation>码率的平均占比</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>码率</translation>
    </message>
    <message>
        <source>Use Measured</source>
        <translation>使用测量值</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>等待</translation>
    </message>
    <message>
        <source>Cameras: %1</source>
        <translation>摄像机：%1</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>正在连接...</translation>
    </message>
    <message>
        <source>No login for its device</source>
        <translation>其设备无登录信息</translation>
    </message>
    <message>
        <source>Device login failed</source>
        <translation>设备登录失败</translation>
    </message>
    <message>
        <source>No stream address</source>
        <translation>无码流地址</translation>
    </message>
    <message>
        <source>Measuring %p%</source>
        <translation>测量中 %p%</translation>
    </message>
    <message>
        <source>Measured</source>
        <translation>已测量</translation>
    </message>
    <message>
        <source>%1 of %2 measured</source>
        <translation>已测量 %1 / %2</translation>
    </message>
    <message>
        <source>Measuring...</source>
        <translation>正在测量...</translation>
    </message>
</context>
<context>
    <name>CMeasuredRate</name>
    <message>
        <source>Stream did not start</source>
        <translation>码流未开始</translation>
    </message>
    <message>
        <source>Stream stopped</source>
        <translation>码流中断</translation>
    </message>
    <message>
        <source>No video in the stream</source>
        <translation>码流中没有视频</translation>
    </message>
    <message>
        <source>Wrong user name or password</source>
        <translation>用户名或密码错误</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>已取消</translation>
    </message>
</context>
<context>
    <name>CModDevice</name>
    <message>
        <source>CModDevice</source>
        <translation>修改设备</translation>
    </message>
    <message>
        <source>Config</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>DeviceType:   </source>
        <translation>设备类型:   </translation>
    </message>
    <message>
        <source>Picture:</source>
        <translation>画质:</translation>
    </message>
    <message>
        <source>Resolution:</source>
        <translation>分辨率:</translation>
    </message>
    <message>
        <source>FrameRate:</source>
        <translation>帧率:</translation>
    </message>
    <message>
        <source>BitRate:</source>
        <translation>码率:</translation>
    </message>
    <message>
        <source>Recommand:</source>
        <translation>推荐码率:</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Mod Device</source>
        <translation>修改设备</translation>
    </message>
    <message>
        <source>Level 1(best)</source>
        <translation>等级 1(最好)</translation>
    </message>
    <message>
        <source>Level 2</source>
        <translation>等级 2</translation>
    </message>
    <message>
        <source>Level 3</source>
        <translation>等级 3</translation>
    </message>
    <message>
        <source>Level 4</source>
        <translation>等级 4</translation>
    </message>
    <message>
        <source>Level 5</source>
        <translation>等级 5</translation>
    </message>
    <message>
        <source>Level 6</source>
        <translation>等级 6</translation>
    </message>
    <message>
        <source>Bitrate should be between 32 and 16384.</source>
        <translation>码率应在32到16384之间。</translation>
    </message>
</context>
<context>
    <name>CNORDAMainWnd</name>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Sure to close software</source>
        <translation>确定要关闭软件吗？</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Warn</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Can not keep the language choice.</source>
        <translation>无法保存语言选择。</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The new language takes effect at the next start.</source>
        <translation>新的语言将在下次启动时生效。</translation>
    </message>
</context>
<context>
    <name>CNORDAMainWndClass</name>
    <message>
        <source>CNORDAMainWnd</source>
        <translation>硬盘计算工具</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>计算</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>存储</translation>
    </message>
</context>
<context>
    <name>CPlanController</name>
    <message>
        <source>New Plan</source>
        <translation>新建计划</translation>
    </message>
    <message>
        <source>Open Plan...</source>
        <translation>打开计划...</translation>
    </message>
    <message>
        <source>Save Plan</source>
        <translation>保存计划</translation>
    </message>
    <message>
        <source>Save Plan As...</source>
        <translation>计划另存为...</translation>
    </message>
    <message>
        <source>Export Report...</source>
        <translation>导出报告...</translation>
    </message>
    <message>
        <source>Untitled plan</source>
        <translation>未命名计划</translation>
    </message>
    <message>
        <source>Recent Plans</source>
        <translation>最近的计划</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Save changes to the plan?</source>
        <translation>是否保存对计划的更改？</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation>不保存</translation>
    </message>
    <message>
        <source>Open Plan</source>
        <translation>打开计划</translation>
    </message>
    <message>
        <source>NORDA plans (*.norda)</source>
        <translation>NORDA 计划 (*.norda)</translation>
    </message>
    <message>
        <source>Warn</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Can not open the plan %1.</source>
        <translation>无法打开计划 %1。</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Can not save the plan.</source>
        <translation>无法保存计划。</translation>
    </message>
    <message>
        <source>plan</source>
        <translation>计划</translation>
    </message>
    <message>
        <source>Save Plan As</source>
        <translation>计划另存为</translation>
    </message>
    <message>
        <source>Export Report</source>
        <translation>导出报告</translation>
    </message>
    <message>
        <source>PDF report (*.pdf);;CSV table (*.csv)</source>
        <translation>PDF 报告 (*.pdf);;CSV 表格 (*.csv)</translation>
    </message>
    <message>
        <source>Can not export the report.</source>
        <translation>无法导出报告。</translation>
    </message>
    <message>
        <source>The report was saved to &quot;%1&quot;.</source>
        <translation>报告已保存到“%1”。</translation>
    </message>
</context>
<context>
    <name>CPlanFile</name>
    <message>
        <source>%1 is missing.</source>
        <translation>缺少%1。</translation>
    </message>
    <message>
        <source>%1 must be a text, not %2.</source>
        <translation>%1 必须是文本，而不是 %2。</translation>
    </message>
    <message>
        <source>%1 is longer than %2 characters.</source>
        <translation>%1 超过 %2 个字符。</translation>
    </message>
    <message>
        <source>%1 must be a whole number from %2 to %3, not %4.</source>
        <translation>%1 必须是 %2 到 %3 之间的整数，而不是 %4。</translation>
    </message>
    <message>
        <source>%1 is %2, which is not one of: %3.</source>
        <translation>%1 为 %2，不是以下值之一：%3。</translation>
    </message>
    <message>
        <source>%1 must be an object, not %2.</source>
        <translation>%1 必须是对象，而不是 %2。</translation>
    </message>
    <message>
        <source>%1 must be empty, 0 or a whole number of at most %2 digits without leading zeros, not %3.</source>
        <translation>%1 必须为空、0 或不超过 %2 位且无前导零的整数，而不是 %3。</translation>
    </message>
    <message>
        <source>%1 is %2, above the largest value %3.</source>
        <translation>%1 为 %2，超过最大值 %3。</translation>
    </message>
    <message>
        <source>Camera %1</source>
        <translation>摄像机 %1</translation>
    </message>
    <message>
        <source>Camera %1 (%2)</source>
        <translation>摄像机 %1（%2）</translation>
    </message>
    <message>
        <source>%1 must be a frame rate from 0 to %2 (such as &quot;1/2&quot; or &quot;25&quot;), not %3.</source>
        <translation>%1 必须是 0 到 %2 之间的帧率（例如“1/2”或“25”），而不是 %3。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; to &quot;%2&quot;</source>
        <translation>“%1”改为“%2”</translation>
    </message>
    <message>
        <source>The file is not a NORDA plan.</source>
        <translation>该文件不是 NORDA 方案。</translation>
    </message>
    <message>
        <source>The plan&apos;s format version %1 is not valid.</source>
        <translation>方案的格式版本 %1 无效。</translation>
    </message>
    <message>
        <source>The plan was saved by a newer NORDA (plan format %1); this version opens plan format %2.</source>
        <translation>该方案由较新版本的 NORDA 保存（方案格式 %1）；本版本只能打开方案格式 %2。</translation>
    </message>
    <message>
        <source>%1 must be a list of cameras, not %2.</source>
        <translation>%1 必须是摄像机列表，而不是 %2。</translation>
    </message>
    <message>
        <source>The plan holds %1 cameras; the first %2 were opened, the others left out.</source>
        <translation>该方案包含 %1 台摄像机；已打开前 %2 台，其余的未打开。</translation>
    </message>
    <message>
        <source>Camera names must differ; %1 cameras with a name used before were renamed: %2.</source>
        <translation>摄像机名称不能重复；%1 台名称已被使用的摄像机已重命名：%2。</translation>
    </message>
    <message>
        <source>The file is %1 MB large; a NORDA plan is never larger than %2 MB.</source>
        <translation>该文件大小为 %1 MB；NORDA 方案不会大于 %2 MB。</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>该文件为空。</translation>
    </message>
    <message>
        <source>The file is cut short: it ends before the plan does.</source>
        <translation>该文件不完整：方案尚未结束，文件就已结束。</translation>
    </message>
    <message>
        <source>The file is not a NORDA plan: it is not JSON text (%1 at byte %2).</source>
        <translation>该文件不是 NORDA 方案：它不是 JSON 文本（第 %2 字节处：%1）。</translation>
    </message>
    <message>
        <source>The plan could not be saved to &quot;%1&quot; (%2). A file of that name that existed before is unchanged.</source>
        <translation>无法将方案保存到“%1”（%2）。之前已存在的同名文件保持不变。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not exist.</source>
        <translation>“%1”不存在。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder, not a plan file.</source>
        <translation>“%1”是文件夹，不是方案文件。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a plan file.</source>
        <translation>“%1”不是方案文件。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is %2 MB large; a NORDA plan is never larger than %3 MB.</source>
        <translation>“%1”大小为 %2 MB；NORDA 方案不会大于 %3 MB。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be read (%2).</source>
        <translation>无法读取“%1”（%2）。</translation>
    </message>
    <message>
        <source>%1 must give both width and height, or neither.</source>
        <translation>%1 必须同时给出宽度和高度，或都不给出。</translation>
    </message>
    <message>
        <source>%1 must be a list of groups, not %2.</source>
        <translation>%1 必须是分组列表，而不是 %2。</translation>
    </message>
    <message>
        <source>The plan holds %1 recording groups; at most %2 are possible.</source>
        <translation>该方案包含 %1 个录像分组；最多只能有 %2 个。</translation>
    </message>
    <message>
        <source>Recording group %1: the name &quot;%2&quot; is used twice.</source>
        <translation>录像分组 %1：名称“%2”重复使用。</translation>
    </message>
    <message>
        <source>Recording group %1</source>
        <translation>录像分组 %1</translation>
    </message>
    <message>
        <source>%1 needs a name of 1 to %2 characters, not %3.</source>
        <translation>%1 需要 1 到 %2 个字符的名称，而不是 %3。</translation>
    </message>
    <message>
        <source>%1, followsCalculateDisk must be true or false, not %2.</source>
        <translation>%1，followsCalculateDisk 必须为 true 或 false，而不是 %2。</translation>
    </message>
    <message>
        <source>%1, hours must be 24 letters C, E or -, not %2.</source>
        <translation>%1，hours 必须是 24 个 C、E 或 - 字母，而不是 %2。</translation>
    </message>
    <message>
        <source>%1, recorder must be the name of a recorder, up to %2 characters, not %3.</source>
        <translation>%1，recorder 必须是录像机的名称，最多 %2 个字符，而不是 %3。</translation>
    </message>
    <message>
        <source>Recorder %1</source>
        <translation>录像机 %1</translation>
    </message>
    <message>
        <source>a whole number from %1 to %2</source>
        <translation>%1 到 %2 之间的整数</translation>
    </message>
    <message>
        <source>a number from %1 to %2</source>
        <translation>%1 到 %2 之间的数</translation>
    </message>
    <message>
        <source>%1, %2 must be %3, not %4.</source>
        <translation>%1，%2 必须是%3，而不是 %4。</translation>
    </message>
    <message>
        <source>%1, raid is %2, which is not one of: %3.</source>
        <translation>%1，raid 为 %2，不是以下之一：%3。</translation>
    </message>
    <message>
        <source>%1 must be a list of recorders, not %2.</source>
        <translation>%1 必须是录像机列表，而不是 %2。</translation>
    </message>
    <message>
        <source>The plan holds %1 recorders; at most %2 are possible.</source>
        <translation>计划包含 %1 台录像机，最多只能有 %2 台。</translation>
    </message>
    <message>
        <source>Recorder %1: the name &quot;%2&quot; is used twice.</source>
        <translation>录像机 %1：名称“%2”重复使用。</translation>
    </message>
</context>
<context>
    <name>CPlanReport</name>
    <message>
        <source>Untitled plan</source>
        <translation>未命名方案</translation>
    </message>
    <message>
        <source>the plan has no cameras</source>
        <translation>方案中没有摄像机</translation>
    </message>
    <message>
        <source>the disk size is above 76056153 GB</source>
        <translation>硬盘容量超过 76056153 GB</translation>
    </message>
    <message>
        <source>the disk size is below 2 GB</source>
        <translation>硬盘容量小于 2 GB</translation>
    </message>
    <message>
        <source>no record time is given</source>
        <translation>未输入录像时间</translation>
    </message>
    <message>
        <source>the record time is above 365 days</source>
        <translation>录像时间超过 365 天</translation>
    </message>
    <message>
        <source>the hours per day are not a usable number</source>
        <translation>每天录像小时数不是有效的数字</translation>
    </message>
    <message>
        <source>the bitrates of the cameras add up to 0</source>
        <translation>摄像机码率总和为 0</translation>
    </message>
    <message>
        <source>Camera Name</source>
        <translation>摄像机名称</translation>
    </message>
    <message>
        <source>Device Type</source>
        <translation>设备类型</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <source>Framerate</source>
        <translation>帧率</translation>
    </message>
    <message>
        <source>Picture Quality</source>
        <translation>画质</translation>
    </message>
    <message>
        <source>Bitrate (kbit/s)</source>
        <translation>码率 (kbit/s)</translation>
    </message>
    <message>
        <source>Storage per day (GB)</source>
        <translation>每天存储量 (GB)</translation>
    </message>
    <message>
        <source>Date: %1</source>
        <translation>日期：%1</translation>
    </message>
    <message>
        <source>Video standard: %1</source>
        <translation>制式：%1</translation>
    </message>
    <message>
        <source>Record time per day: %1 hours (Calculate Time), %2 hours (Calculate Disk)</source>
        <translation>每天录像时间：%1 小时（计算时间），%2 小时（计算硬盘）</translation>
    </message>
    <message>
        <source>Cameras: %1</source>
        <translation>摄像机数量：%1</translation>
    </message>
    <message>
        <source>Total bitrate: %1 kbit/s</source>
        <translation>总码率：%1 kbit/s</translation>
    </message>
    <message>
        <source>Storage per day: %1 GB</source>
        <translation>每天存储量：%1 GB</translation>
    </message>
    <message>
        <source>Calculate Time: %1 GB at %2 hours a day last %3 days = %4 weeks = %5 months.</source>
        <translation>计算时间：%1 GB 按每天 %2 小时可录像 %3 天 = %4 周 = %5 月。</translation>
    </message>
    <message>
        <source>Calculate Time: not calculated, %1.</source>
        <translation>计算时间：未计算，%1。</translation>
    </message>
    <message>
        <source>Calculate Disk: %1 days at %2 hours a day need %3 GB = %4 TB.</source>
        <translation>计算硬盘：%1 天按每天 %2 小时需要 %3 GB = %4 TB。</translation>
    </message>
    <message>
        <source>Calculate Disk: not calculated, %1.</source>
        <translation>计算硬盘：未计算，%1。</translation>
    </message>
    <message>
        <source>The report could not be saved to &quot;%1&quot; (%2).</source>
        <translation>无法将报告保存到“%1”（%2）。</translation>
    </message>
    <message>
        <source>Codec</source>
        <translation>编码格式</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>宽度</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高度</translation>
    </message>
    <message>
        <source>Average share (%)</source>
        <translation>平均码率比例 (%)</translation>
    </message>
    <message>
        <source>Recording group</source>
        <translation>录像分组</translation>
    </message>
    <message>
        <source>Storage for retention (GB)</source>
        <translation>保存期存储量 (GB)</translation>
    </message>
    <message>
        <source>%1 Mbit/s, %2 GB per day, %3 TB = %4 TiB</source>
        <translation>%1 Mbit/s，每天 %2 GB，%3 TB = %4 TiB</translation>
    </message>
    <message>
        <source>Recording group: %1</source>
        <translation>录像分组：%1</translation>
    </message>
    <message>
        <source>Records as Calculate Disk: %1 hours a day, kept %2 days</source>
        <translation>按“计算硬盘”录像：每天 %1 小时，保存 %2 天</translation>
    </message>
    <message>
        <source>Recording: %1</source>
        <translation>录像：%1</translation>
    </message>
    <message>
        <source>Kept %1 days, %2 hours of full bitrate a day</source>
        <translation>保存 %1 天，每天相当于 %2 小时全码率录像</translation>
    </message>
    <message>
        <source>All recording groups</source>
        <translation>全部录像分组</translation>
    </message>
    <message>
        <source>Overhead %1 %</source>
        <translation>附加余量 %1 %</translation>
    </message>
    <message>
        <source>Measured cameras</source>
        <translation>已测量的摄像机</translation>
    </message>
    <message>
        <source>%1: measured %2 for %3 s, average %4 kbit/s, peak %5 kbit/s, 95th percentile %6 kbit/s</source>
        <translation>%1：%2 测量 %3 秒，平均 %4 kbit/s，峰值 %5 kbit/s，第 95 百分位 %6 kbit/s</translation>
    </message>
    <message>
        <source>Recorder: %1</source>
        <translation>录像机：%1</translation>
    </message>
    <message>
        <source>Array: %1 in %2 bays</source>
        <translation>阵列：%1，共 %2 个盘位</translation>
    </message>
    <message>
        <source>The array is refused: %1</source>
        <translation>阵列无法组建：%1</translation>
    </message>
    <message>
        <source>Usable: %1 TB = %2 TiB of %3 TB raw; recorded up to %4 TB (%5 % kept free)</source>
        <translation>可用：%1 TB = %2 TiB，原始容量 %3 TB；最多录像 %4 TB（保留 %5 % 空闲）</translation>
    </message>
    <message>
        <source>Needed: %1 TB for the groups&apos; days with %2 % overhead</source>
        <translation>需要：%1 TB，满足各组保存天数，含 %2 % 余量</translation>
    </message>
    <message>
        <source>Group %1: requires %2 days</source>
        <translation>分组 %1：要求保存 %2 天</translation>
    </message>
    <message>
        <source>Group %1: requires %2 days, achieves %3 days, kept</source>
        <translation>分组 %1：要求保存 %2 天，实际保存 %3 天，达标</translation>
    </message>
    <message>
        <source>Group %1: requires %2 days, achieves %3 days, missed</source>
        <translation>分组 %1：要求保存 %2 天，实际保存 %3 天，未达标</translation>
    </message>
    <message>
        <source>Write load: %1 TB a year per disk, rated %2 TB a year</source>
        <translation>写入负载：每块硬盘每年 %1 TB，额定每年 %2 TB</translation>
    </message>
    <message>
        <source>Ingress: %1 Mbit/s</source>
        <translation>写入码流：%1 Mbit/s</translation>
    </message>
    <message>
        <source>Verdict: not calculated, the array is refused.</source>
        <translation>结论：未计算，阵列无法组建。</translation>
    </message>
    <message>
        <source>Verdict: %1 miss their days. Recorders overwrite the oldest video first when the array is full.</source>
        <translation>结论：%1 未达到保存天数。阵列写满时录像机先覆盖最早的录像。</translation>
    </message>
    <message>
        <source>Verdict: every group keeps its days, but the disks write more than their rating.</source>
        <translation>结论：每个组均达到保存天数，但硬盘写入量超过其额定负载。</translation>
    </message>
    <message>
        <source>Verdict: every group keeps its days.</source>
        <translation>结论：每个组均达到保存天数。</translation>
    </message>
    <message>
        <source>Recorder</source>
        <translation>录像机</translation>
    </message>
    <message>
        <source>Array</source>
        <translation>阵列</translation>
    </message>
    <message>
        <source>Usable (TB)</source>
        <translation>可用 (TB)</translation>
    </message>
    <message>
        <source>Usable (TiB)</source>
        <translation>可用 (TiB)</translation>
    </message>
    <message>
        <source>Write load (TB/year per disk)</source>
        <translation>写入负载 (每盘 TB/年)</translation>
    </message>
    <message>
        <source>Workload rating (TB/year)</source>
        <translation>额定负载 (TB/年)</translation>
    </message>
    <message>
        <source>Required (days)</source>
        <translation>要求保存 (天)</translation>
    </message>
    <message>
        <source>Achieved (days)</source>
        <translation>实际保存 (天)</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>结论</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>无法组建：%1</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>达标</translation>
    </message>
    <message>
        <source>missed</source>
        <translation>未达标</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Maker</source>
        <translation>厂商</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>固件</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>%1: %2 %3, firmware %4, serial number %5</source>
        <translation>%1：%2 %3，固件 %4，序列号 %5</translation>
    </message>
</context>
<context>
    <name>CRecorderBox</name>
    <message>
        <source>Recorder %1</source>
        <translation>录像机 %1</translation>
    </message>
    <message>
        <source>Recorders</source>
        <translation>录像机</translation>
    </message>
    <message>
        <source>Add Recorder</source>
        <translation>添加录像机</translation>
    </message>
    <message>
        <source>Remove Recorder</source>
        <translation>删除录像机</translation>
    </message>
    <message>
        <source>Recorder</source>
        <translation>录像机</translation>
    </message>
    <message>
        <source>Array</source>
        <translation>阵列</translation>
    </message>
    <message>
        <source>Usable (TB)</source>
        <translation>可用 (TB)</translation>
    </message>
    <message>
        <source>Usable (TiB)</source>
        <translation>可用 (TiB)</translation>
    </message>
    <message>
        <source>Needed (TB)</source>
        <translation>需要 (TB)</translation>
    </message>
    <message>
        <source>Per Disk (TB/year)</source>
        <translation>每盘写入 (TB/年)</translation>
    </message>
    <message>
        <source>Ingress (Mbit/s)</source>
        <translation>写入码流 (Mbit/s)</translation>
    </message>
    <message>
        <source>Rebuild (h)</source>
        <translation>重建 (小时)</translation>
    </message>
    <message>
        <source>Retention</source>
        <translation>保存天数</translation>
    </message>
    <message>
        <source>Taken by the file system</source>
        <translation>文件系统占用</translation>
    </message>
    <message>
        <source>Kept free: the recorder overwrites when the rest is full</source>
        <translation>保留空闲：其余空间写满后录像机开始覆盖</translation>
    </message>
    <message>
        <source>The disk&apos;s workload rating a year (surveillance disks: 180 TB)</source>
        <translation>硬盘每年的额定工作负载（监控硬盘：180 TB）</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>RAID:</source>
        <translation>RAID：</translation>
    </message>
    <message>
        <source>Bays:</source>
        <translation>盘位：</translation>
    </message>
    <message>
        <source>Group size:</source>
        <translation>每组硬盘：</translation>
    </message>
    <message>
        <source>Disks:</source>
        <translation>硬盘：</translation>
    </message>
    <message>
        <source>Hot spares:</source>
        <translation>热备盘：</translation>
    </message>
    <message>
        <source>Disk size:</source>
        <translation>硬盘容量：</translation>
    </message>
    <message>
        <source>Reserve:</source>
        <translation>预留：</translation>
    </message>
    <message>
        <source>Rating a year:</source>
        <translation>年额定负载：</translation>
    </message>
    <message>
        <source>Fill limit:</source>
        <translation>满盘阈值：</translation>
    </message>
    <message>
        <source>Rebuild rate:</source>
        <translation>重建速率：</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>Refused</source>
        <translation>无法组建</translation>
    </message>
    <message>
        <source>Every group kept</source>
        <translation>每个组均达标</translation>
    </message>
    <message>
        <source>Missed: %1</source>
        <translation>未达标：%1</translation>
    </message>
    <message>
        <source>Recorders delete a group&apos;s video after its days to keep and, when the array is full, overwrite the oldest video first: the groups keeping the most days fall short first.</source>
        <translation>录像机在组的保存天数到期后删除其录像，阵列写满时先覆盖最早的录像：保存天数最多的组最先不足。</translation>
    </message>
    <message>
        <source>Fit: %1</source>
        <translation>推荐：%1</translation>
    </message>
    <message>
        <source>A full array overwrites the oldest video first: the groups keeping the most days fall short first.</source>
        <translation>阵列写满时先覆盖最早的录像：保存天数最多的组最先不足。</translation>
    </message>
    <message>
        <source>Keeps %1 of %2 days</source>
        <translation>保存 %2 天中的 %1 天</translation>
    </message>
    <message>
        <source>%1 days to keep</source>
        <translation>要求保存 %1 天</translation>
    </message>
</context>
<context>
    <name>CStoragePage</name>
    <message>
        <source>Default</source>
        <translation>默认</translation>
    </message>
    <message>
        <source>Recording Groups</source>
        <translation>录像分组</translation>
    </message>
    <message>
        <source>Add Group</source>
        <translation>添加分组</translation>
    </message>
    <message>
        <source>Remove Group</source>
        <translation>删除分组</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>分组</translation>
    </message>
    <message>
        <source>Cameras</source>
        <translation>摄像机</translation>
    </message>
    <message>
        <source>Bitrate (Mbit/s)</source>
        <translation>码率 (Mbit/s)</translation>
    </message>
    <message>
        <source>Per Day (GB)</source>
        <translation>每天 (GB)</translation>
    </message>
    <message>
        <source>Days Kept</source>
        <translation>保存天数</translation>
    </message>
    <message>
        <source>Storage (TB)</source>
        <translation>存储 (TB)</translation>
    </message>
    <message>
        <source>Storage (TiB)</source>
        <translation>存储 (TiB)</translation>
    </message>
    <message>
        <source>Camera Name</source>
        <translation>摄像机名称</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>分辨率</translation>
    </message>
    <message>
        <source>Framerate</source>
        <translation>帧率</translation>
    </message>
    <message>
        <source>Codec</source>
        <translation>编码格式</translation>
    </message>
    <message>
        <source>Bitrate (kbit/s)</source>
        <translation>码率 (kbit/s)</translation>
    </message>
    <message>
        <source>Average Share (%)</source>
        <translation>平均比例 (%)</translation>
    </message>
    <message>
        <source>Recommended (kbit/s)</source>
        <translation>推荐码率 (kbit/s)</translation>
    </message>
    <message>
        <source>Group Profile</source>
        <translation>分组录像计划</translation>
    </message>
    <message>
        <source>Records as Calculate Disk</source>
        <translation>按“计算硬盘”录像</translation>
    </message>
    <message>
        <source>Hours per day and days of the &quot;Calculate Disk&quot; tab</source>
        <translation>使用“计算硬盘”页的每天小时数和天数</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称:</translation>
    </message>
    <message>
        <source>Share of an event hour that is recorded</source>
        <translation>事件录像小时中实际录像的比例</translation>
    </message>
    <message>
        <source>Bitrate at night against the day: infrared pictures shrink, noisy ones grow</source>
        <translation>夜间码率相对白天的比例：红外黑白画面较小，噪点多的画面较大</translation>
    </message>
    <message>
        <source>Event activity:</source>
        <translation>事件活动率:</translation>
    </message>
    <message>
        <source>Night:</source>
        <translation>夜间:</translation>
    </message>
    <message>
        <source>to</source>
        <translation>至</translation>
    </message>
    <message>
        <source>Night bitrate:</source>
        <translation>夜间码率:</translation>
    </message>
    <message>
        <source>Days to keep:</source>
        <translation>保存天数:</translation>
    </message>
    <message>
        <source>Bitrate Model</source>
        <translation>码率模型</translation>
    </message>
    <message>
        <source>Recommendation against H.264:</source>
        <translation>推荐码率相对 H.264:</translation>
    </message>
    <message>
        <source>Added to the storage for file system, indexes and margin</source>
        <translation>为文件系统、索引和余量增加的存储</translation>
    </message>
    <message>
        <source>Overhead:</source>
        <translation>附加余量:</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>合计</translation>
    </message>
    <message>
        <source>%1 hours of full bitrate a day, %2 GB a day, %3 TB for %4 days with %5 % overhead</source>
        <translation>每天相当于 %1 小时全码率，每天 %2 GB，%4 天共 %3 TB（含 %5 % 余量）</translation>
    </message>
    <message>
        <source>Cameras in %1: %2</source>
        <translation>%1 中的摄像机：%2</translation>
    </message>
    <message>
        <source>Group %1</source>
        <translation>分组 %1</translation>
    </message>
    <message>
        <source>Move to Group</source>
        <translation>移到分组</translation>
    </message>
    <message>
        <source>New Group</source>
        <translation>新建分组</translation>
    </message>
    <message>
        <source>Measure bitrate...</source>
        <translation>测量码率...</translation>
    </message>
    <message>
        <source>Recorders and Disks</source>
        <translation>录像机与硬盘</translation>
    </message>
    <message>
        <source>The recorder this group records on</source>
        <translation>此分组录像所在的录像机</translation>
    </message>
    <message>
        <source>Recorder:</source>
        <translation>录像机：</translation>
    </message>
</context>
<context>
    <name>CVexaApplication</name>
    <message>
        <source>Software is already running.</source>
        <translation>软件已经在运行。</translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The least resolution is 1024*768.</source>
        <translation>屏幕分辨率至少为1024*768。</translation>
    </message>
</context>
<context>
    <name>CVigilWidget</name>
    <message>
        <source>Select devices by click, and add it to device list by push button &quot;Add Device&quot;</source>
        <translation>单击选择设备，然后点击“添加设备”按钮将其添加到设备列表</translation>
    </message>
    <message>
        <source>Login Deivce</source>
        <translation>登录设备</translation>
    </message>
    <message>
        <source>Add&gt;&gt;</source>
        <translation>添加&gt;&gt;</translation>
    </message>
    <message>
        <source>Login failed</source>
        <translation>登录失败</translation>
    </message>
    <message>
        <source>Vigil</source>
        <translation>在线设备</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP地址</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Device Serial No.</source>
        <translation>设备序列号</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>LogState</source>
        <translation>登录状态</translation>
    </message>
    <message>
        <source>Waiting...</source>
        <translation>等待中...</translation>
    </message>
    <message>
        <source>Added</source>
        <translation>已添加</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>在线</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Please select device.</source>
        <translation>请选择设备。</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Address changed</source>
        <translation>地址已变更</translation>
    </message>
    <message>
        <source>Device: %1</source>
        <translation>设备：%1</translation>
    </message>
    <message>
        <source>Devices: %1 and %2 more</source>
        <translation>设备：%1 等另外 %2 台</translation>
    </message>
    <message>
        <source>Search addresses...</source>
        <translation>搜索地址...</translation>
    </message>
    <message>
        <source>Add by address...</source>
        <translation>按地址添加...</translation>
    </message>
</context>
<context>
    <name>CWindowTitle</name>
    <message>
        <source>Calculate Disk</source>
        <translation>硬盘计算工具</translation>
    </message>
</context>
<context>
    <name>DeviceFailure</name>
    <message>
        <source>The device is not reachable.</source>
        <translation>无法连接到设备。</translation>
    </message>
    <message>
        <source>The device did not answer in time.</source>
        <translation>设备未在规定时间内应答。</translation>
    </message>
    <message>
        <source>The device refused the user name or password.</source>
        <translation>设备拒绝了用户名或密码。</translation>
    </message>
    <message>
        <source>This is not an ONVIF device.</source>
        <translation>这不是 ONVIF 设备。</translation>
    </message>
    <message>
        <source>The device&apos;s answer could not be used.</source>
        <translation>设备的应答无法使用。</translation>
    </message>
    <message>
        <source>The device moved to another address. Log in to confirm the move.</source>
        <translation>设备已移到其他地址。请登录以确认。</translation>
    </message>
    <message>
        <source>The device&apos;s certificate has changed.</source>
        <translation>设备的证书已更改。</translation>
    </message>
</context>
<context>
    <name>DeviceIdentity</name>
    <message>
        <source>Maker: %1</source>
        <translation>厂商：%1</translation>
    </message>
    <message>
        <source>Model: %1</source>
        <translation>型号：%1</translation>
    </message>
    <message>
        <source>Firmware: %1</source>
        <translation>固件：%1</translation>
    </message>
    <message>
        <source>Serial number: %1</source>
        <translation>序列号：%1</translation>
    </message>
</context>
</TS>
