<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>DistributionPages</name>
    <message>
        <source>閾値1 : </source>
        <translation>Thr.1 : </translation>
    </message>
    <message>
        <source>閾値2 : </source>
        <translation>Thr.2 : </translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>平均=</source>
        <translation>Mean=</translation>
    </message>
</context>
<context>
    <name>PortAccess</name>
    <message>
        <source>使用できます</source>
        <translation>usable</translation>
    </message>
    <message>
        <source>デバイスがありません</source>
        <translation>no such device</translation>
    </message>
    <message>
        <source>使用する権限がありません</source>
        <translation>no permission to use it</translation>
    </message>
    <message>
        <source>使用する権限がありません（%1 グループ）</source>
        <translation>no permission to use it (group %1)</translation>
    </message>
    <message>
        <source>他のプログラムが使用中です</source>
        <translation>in use by another program</translation>
    </message>
    <message>
        <source>シリアルポートではありません</source>
        <translation>not a serial port</translation>
    </message>
    <message>
        <source>。レコーダのケーブル（USB シリアル変換器）と選んだポートを確かめてください。</source>
        <translation>. Check the recorder&apos;s cable (USB serial adapter) and the port chosen.</translation>
    </message>
    <message>
        <source>。sudo usermod -aG %1 $USER の後、ログインし直してください。</source>
        <translation>. Run sudo usermod -aG %1 $USER, then log in again.</translation>
    </message>
    <message>
        <source>。使用中のプログラムを終了してください。</source>
        <translation>. Close the program that uses it.</translation>
    </message>
</context>
<context>
    <name>ReportPages</name>
    <message>
        <source>(昼間)</source>
        <translation>(day)</translation>
    </message>
    <message>
        <source>(夜間)</source>
        <translation>(night)</translation>
    </message>
</context>
<context>
    <name>SummaryPage</name>
    <message>
        <source>最高血圧 (mmHg)</source>
        <translation>Systolic (mmHg)</translation>
    </message>
    <message>
        <source>最高血圧(mmHg)</source>
        <translation>Systolic (mmHg)</translation>
    </message>
    <message>
        <source>最低血圧 (mmHg)</source>
        <translation>Diastolic (mmHg)</translation>
    </message>
    <message>
        <source>最低血圧(mmHg)</source>
        <translation>Diastolic (mmHg)</translation>
    </message>
    <message>
        <source>平均血圧 (mmHg)</source>
        <translation>Mean BP (mmHg)</translation>
    </message>
    <message>
        <source>平均血圧(mmHg)</source>
        <translation>Mean BP (mmHg)</translation>
    </message>
    <message>
        <source>脈拍数 (BPM)</source>
        <translation>Pulse rate (BPM)</translation>
    </message>
    <message>
        <source>脈拍数(BPM)</source>
        <translation>Pulse rate (BPM)</translation>
    </message>
    <message>
        <source>最小値</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>最大値</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>最高血圧最大値:</source>
        <translation>Highest systolic:</translation>
    </message>
    <message>
        <source>最低血圧最大値:</source>
        <translation>Highest diastolic:</translation>
    </message>
    <message>
        <source>最高血圧最小値:</source>
        <translation>Lowest systolic:</translation>
    </message>
    <message>
        <source>最低血圧最小値:</source>
        <translation>Lowest diastolic:</translation>
    </message>
    <message>
        <source>全区間:</source>
        <translation>Whole interval:</translation>
    </message>
    <message>
        <source>解析区間:</source>
        <translation>Analysis interval:</translation>
    </message>
    <message>
        <source>削除区間:</source>
        <translation>Excluded interval:</translation>
    </message>
    <message>
        <source>有効データ数 =</source>
        <translation>Valid readings =</translation>
    </message>
    <message>
        <source>削除データ数 =</source>
        <translation>Excluded readings =</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>hours</translation>
    </message>
    <message>
        <source>SYS/DIA 閾値:</source>
        <translation>SYS/DIA thresholds:</translation>
    </message>
    <message>
        <source>最高血圧 &gt; :</source>
        <translation>Systolic &gt; :</translation>
    </message>
    <message>
        <source>最低血圧 &gt; :</source>
        <translation>Diastolic &gt; :</translation>
    </message>
    <message>
        <source>最高血圧 &gt;</source>
        <translation>Systolic &gt;</translation>
    </message>
    <message>
        <source>最低血圧 &gt;</source>
        <translation>Diastolic &gt;</translation>
    </message>
</context>
<context>
    <name>ZoomMenu</name>
    <message>
        <source>全データ</source>
        <translation>All data</translation>
    </message>
    <message>
        <source>4 年</source>
        <translation>4 years</translation>
    </message>
    <message>
        <source>3 年</source>
        <translation>3 years</translation>
    </message>
    <message>
        <source>2 年</source>
        <translation>2 years</translation>
    </message>
    <message>
        <source>1 年</source>
        <translation>1 year</translation>
    </message>
    <message>
        <source>180 日</source>
        <translation>180 days</translation>
    </message>
    <message>
        <source>90 日</source>
        <translation>90 days</translation>
    </message>
    <message>
        <source>60 日</source>
        <translation>60 days</translation>
    </message>
    <message>
        <source>30 日</source>
        <translation>30 days</translation>
    </message>
    <message>
        <source>15 日</source>
        <translation>15 days</translation>
    </message>
    <message>
        <source>7 日</source>
        <translation>7 days</translation>
    </message>
    <message>
        <source>6 日</source>
        <translation>6 days</translation>
    </message>
    <message>
        <source>5 日</source>
        <translation>5 days</translation>
    </message>
    <message>
        <source>4 日</source>
        <translation>4 days</translation>
    </message>
    <message>
        <source>3 日</source>
        <translation>3 days</translation>
    </message>
    <message>
        <source>2 日</source>
        <translation>2 days</translation>
    </message>
    <message>
        <source>1 日</source>
        <translation>1 day</translation>
    </message>
</context>
<context>
    <name>ks318::ClinicalLines</name>
    <message>
        <source>全体平均 (mmHg, BPM)</source>
        <translation>Whole mean (mmHg, BPM)</translation>
    </message>
    <message>
        <source>昼間平均 (mmHg, BPM)</source>
        <translation>Day mean (mmHg, BPM)</translation>
    </message>
    <message>
        <source>夜間平均 (mmHg, BPM)</source>
        <translation>Night mean (mmHg, BPM)</translation>
    </message>
    <message>
        <source>夜間降圧率 (%)</source>
        <translation>Nocturnal dip (%)</translation>
    </message>
    <message>
        <source>早朝平均 (mmHg)</source>
        <translation>Morning mean (mmHg)</translation>
    </message>
    <message>
        <source>就寝前平均 (mmHg)</source>
        <translation>Evening mean (mmHg)</translation>
    </message>
    <message>
        <source>朝夕平均 ME (mmHg)</source>
        <translation>ME average (mmHg)</translation>
    </message>
    <message>
        <source>朝夕差 ME (mmHg)</source>
        <translation>ME difference (mmHg)</translation>
    </message>
    <message>
        <source>起床前サージ (mmHg)</source>
        <translation>Prewaking surge (mmHg)</translation>
    </message>
    <message>
        <source>夜間最低値サージ (mmHg)</source>
        <translation>Sleep-trough surge (mmHg)</translation>
    </message>
    <message>
        <source>加重SD (mmHg)</source>
        <translation>Weighted SD (mmHg)</translation>
    </message>
    <message>
        <source>全体平均</source>
        <translation>Whole mean</translation>
    </message>
    <message>
        <source>昼間平均</source>
        <translation>Day mean</translation>
    </message>
    <message>
        <source>夜間平均</source>
        <translation>Night mean</translation>
    </message>
    <message>
        <source>早朝平均</source>
        <translation>Morning mean</translation>
    </message>
    <message>
        <source>該当</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>非該当</source>
        <translation>no</translation>
    </message>
    <message>
        <source> %1/%2 mmHg以上: </source>
        <translation> %1/%2 mmHg or above: </translation>
    </message>
    <message>
        <source>脈拍</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <source>脈圧</source>
        <translation>PP</translation>
    </message>
    <message>
        <source>臨床指標</source>
        <translation>Clinical measures</translation>
    </message>
    <message>
        <source>夜間降圧パターン: </source>
        <translation>Dipping pattern: </translation>
    </message>
    <message>
        <source>夜間単独高血圧: </source>
        <translation>Isolated nocturnal hypertension: </translation>
    </message>
    <message>
        <source>有効データ率: %1%  昼間: %2件  夜間: %3件  日数: %4日</source>
        <translation>Valid readings: %1%  day: %2  night: %3  days: %4</translation>
    </message>
    <message>
        <source>測定数が少なく、各指標は参考値です</source>
        <translation>Few readings: the measures are indicative only</translation>
    </message>
    <message>
        <source>（目安: 有効率70%以上、昼間20件以上、夜間7件以上）</source>
        <translation>(enough: 70% valid, 20 day and 7 night readings)</translation>
    </message>
    <message>
        <source>基準値: ESH 2023 / ISH 2020 / JSH 2019 (家庭血圧・ABPM)</source>
        <translation>Thresholds: ESH 2023 / ISH 2020 / JSH 2019 (home BP, ABPM)</translation>
    </message>
</context>
<context>
    <name>ks318::ClinicalProfile</name>
    <message>
        <source>24時間プロファイル（時刻別平均）</source>
        <translation>24-hour profile (hourly means)</translation>
    </message>
    <message>
        <source>時刻 (時)</source>
        <translation>Time (hour)</translation>
    </message>
</context>
<context>
    <name>ks318::ClinicalSheet</name>
    <message>
        <source>  就寝 %1  起床 %2</source>
        <translation>  sleep %1  wake %2</translation>
    </message>
</context>
<context>
    <name>ks318::HelpService</name>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>ヘルプの使い方</source>
        <translation>Using help</translation>
    </message>
    <message>
        <source>検索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>メインウィンドウ</source>
        <translation>Main window</translation>
    </message>
    <message>
        <source>ファイルを開く</source>
        <translation>Opening a file</translation>
    </message>
    <message>
        <source>ファイル結合</source>
        <translation>Merge files</translation>
    </message>
    <message>
        <source>CSV変換</source>
        <translation>CSV conversion</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>血圧データリスト</source>
        <translation>BP data list</translation>
    </message>
    <message>
        <source>除外</source>
        <translation>Exclusion</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>血圧設定</source>
        <translation>BP settings</translation>
    </message>
    <message>
        <source>閾値</source>
        <translation>Thresholds</translation>
    </message>
    <message>
        <source>患者情報</source>
        <translation>Patient information</translation>
    </message>
    <message>
        <source>睡眠時間</source>
        <translation>Sleep times</translation>
    </message>
    <message>
        <source>担当医</source>
        <translation>Physician</translation>
    </message>
    <message>
        <source>登録医リスト</source>
        <translation>Physician list</translation>
    </message>
    <message>
        <source>施設名</source>
        <translation>Facility name</translation>
    </message>
    <message>
        <source>レコーダ設定</source>
        <translation>Recorder setup</translation>
    </message>
    <message>
        <source>時計</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>測定スケジュール</source>
        <translation>Measurement schedule</translation>
    </message>
    <message>
        <source>データ読み込み</source>
        <translation>Read data</translation>
    </message>
    <message>
        <source>データクリア</source>
        <translation>Clear data</translation>
    </message>
    <message>
        <source>シリアルポート</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>サマリーデータ</source>
        <translation>Summary data</translation>
    </message>
    <message>
        <source>グラフ</source>
        <translation>Graphs</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>キーワード</source>
        <translation>Keyword</translation>
    </message>
    <message>
        <source>臨床指標</source>
        <translation>Clinical measures</translation>
    </message>
    <message>
        <source>夜間降圧</source>
        <translation>Nocturnal dipping</translation>
    </message>
    <message>
        <source>モーニングサージ</source>
        <translation>Morning surge</translation>
    </message>
    <message>
        <source>早朝高血圧</source>
        <translation>Morning hypertension</translation>
    </message>
    <message>
        <source>血圧変動性</source>
        <translation>BP variability</translation>
    </message>
    <message>
        <source>AASI</source>
        <translation>AASI</translation>
    </message>
    <message>
        <source>24時間プロファイル</source>
        <translation>24-hour profile</translation>
    </message>
</context>
<context>
    <name>ks318::TAboutForm</name>
    <message>
        <source>プログラム情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>血圧解析ソフト</source>
        <translation>Blood pressure analysis software</translation>
    </message>
</context>
<context>
    <name>ks318::TBPDataListForm</name>
    <message>
        <source>月日</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>時刻</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>最高</source>
        <translation>SYS</translation>
    </message>
    <message>
        <source>最低</source>
        <translation>DIA</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>脈拍</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>血圧データ</source>
        <translation>BP data</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>ks318::TDefaultBpSettingsZireForm</name>
    <message>
        <source>最高血圧:</source>
        <translation>Systolic:</translation>
    </message>
    <message>
        <source>最低血圧:</source>
        <translation>Diastolic:</translation>
    </message>
    <message>
        <source>血圧解析パラメータ設定</source>
        <translation>BP analysis settings</translation>
    </message>
    <message>
        <source>血圧閾値</source>
        <translation>BP thresholds</translation>
    </message>
    <message>
        <source>昼間（閾値1）</source>
        <translation>Daytime (threshold 1)</translation>
    </message>
    <message>
        <source>夜間（閾値2）</source>
        <translation>Night-time (threshold 2)</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>ks318::TDefaultSerialPortForm</name>
    <message>
        <source>シリアルポート設定</source>
        <translation>Serial port settings</translation>
    </message>
    <message>
        <source>ｼﾘｱﾙﾎﾟｰﾄ</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>取消し(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>ks318::TFileMergeForm</name>
    <message>
        <source>ファイル結合</source>
        <translation>Merge files</translation>
    </message>
    <message>
        <source>結合データリスト</source>
        <translation>Files to merge</translation>
    </message>
    <message>
        <source>ファイルをドラッグして</source>
        <translation>Drag the files</translation>
    </message>
    <message>
        <source>結合データリストに</source>
        <translation>into the list of</translation>
    </message>
    <message>
        <source>入れて下さい。</source>
        <translation>files to merge.</translation>
    </message>
    <message>
        <source>ファイル内容</source>
        <translation>File contents</translation>
    </message>
    <message>
        <source>データタイプの選択</source>
        <translation>Data type</translation>
    </message>
    <message>
        <source>取消し(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>ks318::THospitalNameForm</name>
    <message>
        <source>施設名</source>
        <translation>Facility name</translation>
    </message>
    <message>
        <source>印字</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>あり</source>
        <translation>On</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>取消し(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>施設名：</source>
        <translation>Facility name:</translation>
    </message>
</context>
<context>
    <name>ks318::TLanguageForm</name>
    <message>
        <source>言語 / Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>デスクトップの言語(&amp;D)</source>
        <translation>The desktop&apos;s language (&amp;D)</translation>
    </message>
    <message>
        <source>日本語(&amp;J)</source>
        <translation>Japanese (&amp;J)</translation>
    </message>
    <message>
        <source>次回の起動から有効になります。</source>
        <translation>Takes effect at the next start.</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>ks318::TMainForm</name>
    <message>
        <source>不可</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>区間解析</source>
        <translation>Interval analysis</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>保存(&amp;A)...</source>
        <translation>Save &amp;as...</translation>
    </message>
    <message>
        <source>削除(&amp;D)...</source>
        <translation>&amp;Delete...</translation>
    </message>
    <message>
        <source>CSV変換(&amp;V)...</source>
        <translation>CSV con&amp;version...</translation>
    </message>
    <message>
        <source>ファイル結合</source>
        <translation>Merge files</translation>
    </message>
    <message>
        <source>印刷(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>終了(&amp;x)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>解析(&amp;V)</source>
        <translation>&amp;Analysis</translation>
    </message>
    <message>
        <source>サマリーデータ(&amp;S)</source>
        <translation>&amp;Summary data</translation>
    </message>
    <message>
        <source>血圧データリスト(&amp;B)</source>
        <translation>&amp;BP data list</translation>
    </message>
    <message>
        <source>トレンド(&amp;T)</source>
        <translation>&amp;Trends</translation>
    </message>
    <message>
        <source>相関図(&amp;C)</source>
        <translation>&amp;Correlation plots</translation>
    </message>
    <message>
        <source>グレード(&amp;G)</source>
        <translation>&amp;Grades</translation>
    </message>
    <message>
        <source>ヒストグラム(&amp;H)</source>
        <translation>&amp;Histograms</translation>
    </message>
    <message>
        <source>患者情報(&amp;P)</source>
        <translation>&amp;Patient information</translation>
    </message>
    <message>
        <source>レコーダ(&amp;c)</source>
        <translation>Re&amp;corder</translation>
    </message>
    <message>
        <source>血圧測定( &amp;m)</source>
        <translation>&amp;Measure blood pressure</translation>
    </message>
    <message>
        <source>データ読み込み(&amp;R)...</source>
        <translation>&amp;Read data...</translation>
    </message>
    <message>
        <source>データクリア(&amp;C)</source>
        <translation>&amp;Clear data</translation>
    </message>
    <message>
        <source>設定(&amp;S)...</source>
        <translation>&amp;Setup...</translation>
    </message>
    <message>
        <source>レポート(&amp;R)</source>
        <translation>&amp;Report</translation>
    </message>
    <message>
        <source>オプション(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>登録医リスト(&amp;P)...</source>
        <translation>&amp;Physician list...</translation>
    </message>
    <message>
        <source>レポート形式(&amp;R)...</source>
        <translation>&amp;Report formats...</translation>
    </message>
    <message>
        <source>トレンド表示(&amp;T)...</source>
        <translation>&amp;Trend display...</translation>
    </message>
    <message>
        <source>初期設定(&amp;D)</source>
        <translation>&amp;Default settings</translation>
    </message>
    <message>
        <source>血圧設定(&amp;B)...</source>
        <translation>&amp;BP settings...</translation>
    </message>
    <message>
        <source>シリアルポート(&amp;S)...</source>
        <translation>&amp;Serial port...</translation>
    </message>
    <message>
        <source>RR解析設定(&amp;R)...</source>
        <translation>&amp;RR analysis settings...</translation>
    </message>
    <message>
        <source>レコーダタイプ(&amp;T)...</source>
        <translation>Recorder &amp;type...</translation>
    </message>
    <message>
        <source>施設名</source>
        <translation>Facility name</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>目次(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>検索(&amp;S)...</source>
        <translation>&amp;Search...</translation>
    </message>
    <message>
        <source>使い方(&amp;H)</source>
        <translation>&amp;How to use help</translation>
    </message>
    <message>
        <source>情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>言語 / Language(&amp;L)...</source>
        <translation>&amp;Language...</translation>
    </message>
</context>
<context>
    <name>ks318::TPatientInformationForm</name>
    <message>
        <source>患者情報</source>
        <translation>Patient information</translation>
    </message>
    <message>
        <source>レコーダ ID:</source>
        <translation>Recorder ID:</translation>
    </message>
    <message>
        <source>ファイル:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>月日:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>時刻:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>名前:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>住所:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>電話:</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>保険:</source>
        <translation>Insurance:</translation>
    </message>
    <message>
        <source>年齢:</source>
        <translation>Age:</translation>
    </message>
    <message>
        <source>性別:</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>身長:</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>体重:</source>
        <translation>Weight:</translation>
    </message>
    <message>
        <source>担当医</source>
        <translation>Physician</translation>
    </message>
    <message>
        <source>リスト</source>
        <translation>List</translation>
    </message>
    <message>
        <source>1日目:</source>
        <translation>Day 1:</translation>
    </message>
    <message>
        <source>2日目:</source>
        <translation>Day 2:</translation>
    </message>
    <message>
        <source>睡眠</source>
        <translation>Sleep</translation>
    </message>
    <message>
        <source>起床</source>
        <translation>Wake</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>取消し(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>コメント:</source>
        <translation>Comments:</translation>
    </message>
</context>
<context>
    <name>ks318::TPhysicianEntryForm</name>
    <message>
        <source>医者の登録</source>
        <translation>Physician entry</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>取消し(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>姓:</source>
        <translation>Last name:</translation>
    </message>
    <message>
        <source>名:</source>
        <translation>First name:</translation>
    </message>
    <message>
        <source>住所:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>電話:</source>
        <translation>Phone:</translation>
    </message>
</context>
<context>
    <name>ks318::TPhysicianSelectionForm</name>
    <message>
        <source>登録医リスト</source>
        <translation>Physician list</translation>
    </message>
    <message>
        <source>新規(&amp;N)...</source>
        <translation>&amp;New...</translation>
    </message>
    <message>
        <source>編集(&amp;E)...</source>
        <translation>&amp;Edit...</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
</context>
<context>
    <name>ks318::TPrintProgressForm</name>
    <message>
        <source>印刷中...</source>
        <translation>Printing...</translation>
    </message>
    <message>
        <source>取消し(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>ks318::TRecorderClearDataForm</name>
    <message>
        <source>レコーダ - データ消去</source>
        <translation>Recorder - Clear data</translation>
    </message>
    <message>
        <source>レコーダ内の全てのデータが消去されます!!</source>
        <translation>All data in the recorder will be erased!!</translation>
    </message>
    <message>
        <source>取消し(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>ks318::TRecorderRetrieveForm</name>
    <message>
        <source>レコーダ - データ読み込み</source>
        <translation>Recorder - Read data</translation>
    </message>
    <message>
        <source>レコーダ ID:</source>
        <translation>Recorder ID:</translation>
    </message>
    <message>
        <source>測定開始日:</source>
        <translation>Start date:</translation>
    </message>
    <message>
        <source>開始時刻:</source>
        <translation>Start time:</translation>
    </message>
    <message>
        <source>患者名:</source>
        <translation>Patient name:</translation>
    </message>
    <message>
        <source>データ変換</source>
        <translation>Data conversion</translation>
    </message>
    <message>
        <source>自動的に CSV ファイルを作成</source>
        <translation>Write a CSV file automatically</translation>
    </message>
    <message>
        <source>データ読み込み</source>
        <translation>Read data</translation>
    </message>
    <message>
        <source>状態:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>接続中</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>読み込みｶｳﾝﾀ:</source>
        <translation>Read counter:</translation>
    </message>
</context>
<context>
    <name>ks318::TRecorderSetup_318Form</name>
    <message>
        <source>レコーダ-設定</source>
        <translation>Recorder - Setup</translation>
    </message>
    <message>
        <source>時刻:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>月日:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>血圧測定</source>
        <translation>Blood pressure measurement</translation>
    </message>
    <message>
        <source>測定時刻</source>
        <translation>Measurement times</translation>
    </message>
    <message>
        <source>(ビープ音)</source>
        <translation>(beep)</translation>
    </message>
    <message>
        <source>時</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>取消し(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>ks318::TReportSelection318Form</name>
    <message>
        <source>レポート形式</source>
        <translation>Report format</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>患者用ﾚﾎﾟｰﾄ印刷(&amp;R)</source>
        <translation>Patient &amp;report</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>簡易ﾚﾎﾟｰﾄ印刷 (&amp;M)</source>
        <translation>&amp;Mini report</translation>
    </message>
</context>
<context>
    <name>ks318::TReportSelectionForm</name>
    <message>
        <source>レポート形式</source>
        <translation>Report format</translation>
    </message>
    <message>
        <source>新規(&amp;N)...</source>
        <translation>&amp;New...</translation>
    </message>
    <message>
        <source>編集(&amp;E)...</source>
        <translation>&amp;Edit...</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>レポート初期設定(&amp;S)</source>
        <translation>Report &amp;settings</translation>
    </message>
    <message>
        <source>簡易ﾚﾎﾟｰﾄ印刷 (&amp;M)</source>
        <translation>&amp;Mini report</translation>
    </message>
</context>
<context>
    <name>ks318::TSummaryDataForm</name>
    <message>
        <source>サマリーデータ</source>
        <translation>Summary data</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>臨床指標</source>
        <translation>Clinical measures</translation>
    </message>
</context>
<context>
    <name>ks318::TViewGraphicsForm</name>
    <message>
        <source>解析グラフ画面</source>
        <translation>Analysis graphs</translation>
    </message>
    <message>
        <source>選択(&amp;S)</source>
        <translation>&amp;Select</translation>
    </message>
    <message>
        <source>イベント(&amp;E)</source>
        <translation>&amp;Events</translation>
    </message>
    <message>
        <source>イベント %1</source>
        <translation>Event %1</translation>
    </message>
    <message>
        <source>拡大(&amp;Z)</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <source>感度(&amp;E)</source>
        <translation>S&amp;ensitivity</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>画面印刷(&amp;S)</source>
        <translation>Print &amp;screen</translation>
    </message>
    <message>
        <source>数値データ印刷(&amp;N)</source>
        <translation>Print &amp;numeric data</translation>
    </message>
</context>
</TS>
