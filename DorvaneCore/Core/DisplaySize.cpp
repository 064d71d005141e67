#include "DorvaneCore/Core/DisplaySize.h"

namespace dorvane {

std::string_view title(DisplaySize size) {
    switch (size) {
        case DisplaySize::larger: return "更大文字";
        case DisplaySize::standard: return "默认";
        case DisplaySize::moreSpace: return "更多空间";
    }
    return {};
}

std::string_view scaleLabel(DisplaySize size) {
    switch (size) {
        case DisplaySize::larger: return "85%";
        case DisplaySize::standard: return "100%";
        case DisplaySize::moreSpace: return "120%";
    }
    return {};
}

std::string_view hint(DisplaySize size) {
    switch (size) {
        case DisplaySize::larger: return "放大界面元素，便于小屏触控与阅读";
        case DisplaySize::standard: return "macOS 标准显示排版比例";
        case DisplaySize::moreSpace: return "容纳更多桌面应用与窗口内容";
    }
    return {};
}

int index(DisplaySize size) { return static_cast<int>(caseIndex(size)); }

double scaleFactor(DisplaySize size) {
    switch (size) {
        case DisplaySize::larger: return 0.85;
        case DisplaySize::standard: return 1.0;
        case DisplaySize::moreSpace: return 1.2;
    }
    return 1.0;
}

}  // namespace dorvane
