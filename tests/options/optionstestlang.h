// Two small text tables for the options tests (the entries the option logic reads),
// a reset of the shared job and source records, and a sample video source.
#pragma once

#include "core/mdlmavrell.h"
#include "coregui/jobstate.h"
#include "support/testenv.h"

#include <map>

namespace optionstest {

inline const std::map<int, const char *> &englishTable()
{
    static const std::map<int, const char *> t{
        {9, ": "}, {23, "Range: "}, {24, "Marked range: "}, {25, "Marked range: whole length"}, {26, ", "},
        {27, "Set "}, {30, "value"}, {31, "The source could not be analysed.\n\nChoose another file."},
        {34, "Mark in"}, {35, "Mark out"}, {36, "OK"}, {37, "Cancel"}, {38, "Adjust "},
        {39, "The frame rate must lie between aaa and bbb."}, {40, "Video bit rate: 32 to 9000."},
        {41, "Audio bit rate: 32 to 320."}, {42, "Width: 8 to 1280."}, {43, "Height: 8 to 1280."},
        {51, "Use aaa to set the volume."}, {52, "Cut "}, {53, "Repair "}, {54, "video"},
        {55, "Same as the source media"}, {58, "Frame rate"}, {59, "dB"}, {60, "Time range"}, {61, "Picture size"},
        {62, "Crop"}, {63, "Flip and rotate"}, {64, "Target format = "}, {66, "volume"}, {67, "brightness"},
        {68, "contrast"}, {69, "hue"}, {70, "saturation"}, {71, "Use aaa to set sound or marks."},
        {74, "Repairing the whole video.\nNo marks."}, {75, "video bit rate"}, {76, "audio bit rate"},
        {77, "Final size: "}, {78, ", fps: "}, {79, "Use aaa to set the cut marks."}, {80, "cropped"},
        {81, "not cropped"}, {82, "Other: "}, {87, "Press aaa to repair the whole video."},
        {117, "Same as source"}, {120, " (normal)"}, {121, " (low quality)"}, {122, " (medium quality)"},
        {123, " (high quality)"}, {138, "No flip, no rotation"}, {139, "Flip horizontally"},
        {140, "Flip vertically"}, {141, "Rotate 180"}, {142, "Right 90, then flip"}, {143, "Right 90"},
        {144, "Left 90, then flip"}, {145, "Left 90"}, {184, "borders"}, {185, "no borders"}, {186, "subtitles"},
        {187, "no subtitles"}, {188, "Resize, then crop"}, {189, "Crop, then resize"}, {190, "Add black borders"},
        {191, "Top"}, {192, "Bottom"}, {193, "Left"}, {194, "Right"}, {195, "Output audio"}, {196, "No audio"},
        {197, "Sample rate"}, {198, "Audio delay (s)"}, {199, "Normalise volume"}, {200, "No subtitles"},
        {201, "Subtitle file"}, {202, "Font size"}, {203, "Position"}, {204, "% of height"}, {205, "Outline"},
        {206, "Blur"}, {207, "Delay (s)"}, {208, "Font"}, {209, "Encoding"}, {210, "Apply to playback"},
        {211, "Custom picture size"}, {212, "Default encoding"}, {213, "Traditional Chinese - cp950"},
        {214, "Simplified Chinese - cp936"}, {215, "Central European - cp1250"}, {216, "unicode"},
        {217, "Enter or choose a subtitle file."}, {218, "The subtitle file does not exist."},
        {247, "A sound file cannot be made into video."}, {251, "This format is restricted.\nNo marks."},
        {252, "No audio, so no sound target."}, {255, "Flips come last."},
        {256, "Vertical flip and rotate 180 cannot have top or bottom borders."},
        {257, "Subtitles with a quarter turn may fail."}, {258, "No audio, so no MP3."}, {259, "normalised"},
        {260, "No audio, so no volume change."}, {264, "Sound"}, {267, "sample rate"}, {269, "原比例"},
        {270, "Custom x "}};
    return t;
}

inline const std::map<int, const char *> &chineseTable()
{
    static const std::map<int, const char *> t{
        {9, "："}, {23, "時間範圍："}, {24, "標記範圍："}, {25, "標記範圍：全部長度"}, {26, "，"}, {27, "設定"},
        {30, "值"}, {31, "無法分析來源。\n\n請換一個檔案。"}, {34, "標記開始"}, {35, "標記結束"}, {36, "確定"},
        {37, "取消"}, {38, "調整"}, {39, "畫面更新率須在 aaa 與 bbb 之間。"}, {40, "視訊位元率 32 至 9000。"},
        {41, "音訊位元率 32 至 320。"}, {42, "寬度 8 至 1280。"}, {43, "高度 8 至 1280。"},
        {51, "請用 aaa 設定音量。"}, {52, "剪輯"}, {53, "修復"}, {54, "影片"}, {55, "與來源影音相同"},
        {58, "畫面更新率"}, {59, "分貝"}, {60, "時間範圍"}, {61, "畫面大小"}, {62, "裁切"}, {63, "翻轉與旋轉"},
        {64, "設定目標格式 = "}, {66, "音量"}, {67, "亮度"}, {68, "對比"}, {69, "色調"}, {70, "飽和度"},
        {71, "請用 aaa 設定聲音或標記。"}, {74, "修復整部影片。\n不能標記。"}, {75, "視訊位元率"},
        {76, "音訊位元率"}, {77, "最後畫面大小："}, {78, "，每秒畫格："}, {79, "請用 aaa 設定剪輯標記。"},
        {80, "已裁切"}, {81, "未裁切"}, {82, "其他："}, {87, "按 aaa 修復整部影片。"}, {117, "與來源相同"},
        {120, "(正常)"}, {121, "(低品質)"}, {122, "(中品質)"}, {123, "(高品質)"}, {138, "不翻轉不旋轉"},
        {139, "水平翻轉"}, {140, "垂直翻轉"}, {141, "旋轉 180"}, {142, "右轉 90 再水平翻轉"}, {143, "右轉 90"},
        {144, "左轉 90 再水平翻轉"}, {145, "左轉 90"}, {184, "加黑邊"}, {185, "無黑邊"}, {186, "有字幕"},
        {187, "無字幕"}, {188, "先縮放再裁切"}, {189, "先裁切再縮放"}, {190, "加上黑邊"}, {191, "上"},
        {192, "下"}, {193, "左"}, {194, "右"}, {195, "輸出聲音"}, {196, "不輸出聲音"}, {197, "取樣率"},
        {198, "聲音延遲(秒)"}, {199, "音量標準化"}, {200, "不加字幕"}, {201, "字幕檔"}, {202, "字型大小"},
        {203, "位置高度"}, {204, "% 影片高度"}, {205, "外框"}, {206, "模糊"}, {207, "字幕延遲(秒)"},
        {208, "字型"}, {209, "字元編碼"}, {210, "套用到播放"}, {211, "自訂畫面大小"}, {212, "預設編碼"},
        {213, "繁體中文 - cp950"}, {214, "簡體中文 - cp936"}, {215, "中歐 - cp1250"}, {216, "unicode"},
        {217, "請輸入或選擇字幕檔。"}, {218, "字幕檔不存在。"}, {247, "聲音檔不能轉成影片。"},
        {251, "此格式受限。\n不能標記。"}, {252, "沒有聲音。"}, {255, "翻轉最後進行。"},
        {256, "垂直翻轉與旋轉 180 不能加上下黑邊。"}, {257, "字幕與左右旋轉可能失敗。"}, {258, "沒有聲音，不能轉 MP3。"},
        {259, "音量標準化"}, {260, "沒有聲音，不能調整音量。"}, {264, "聲音"}, {267, "取樣率"}, {269, "原比例"},
        {270, "自訂 x "}};
    return t;
}

inline void loadTable(const std::map<int, const char *> &table)
{
    for (auto &e : mdlMavrell::lng)
        e.clear();
    for (const auto &[n, text] : table)
        mdlMavrell::lng[n] = QString::fromUtf8(text);
}
inline void loadEnglish() { loadTable(englishTable()); }
inline void loadChinese() { loadTable(chineseTable()); }

// Zero job and source records, as before a new source.
inline void resetJob()
{
    jobstate::sourceInfo = {};
    jobstate::jobSettings = {};
}

// A video job: an AVI target from a 640 x 480 source at 25 fps with sound.
inline void videoSource()
{
    using namespace mdlMavrell;
    jobstate::sourceInfo = testenv::sampleSource(640, 480, 10, "avi", "mp3");
    jobstate::sourceInfo.srcAudioRate = 44100;
    jobstate::sourceInfo.srcAudioChannels = 2;
    jobstate::jobSettings.outWidth = 640;
    jobstate::jobSettings.outHeight = 480;
}

} // namespace optionstest
