#pragma once
// The root selector's captions and the special folders (CSIDL values) they put at the tree's top.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pravik::core::menu {

struct RootChoice {
  std::wstring_view caption;
  std::int32_t csidl;
};

inline constexpr std::array<RootChoice, 22> kRootTable = {{
    {L"모든 프로그램", 23},   {L"모든 제어판 항목", 3}, {L"바탕화면 폴더", 16}, {L"즐겨찾기", 6},
    {L"폰트", 20},            {L"인터넷", 1},           {L"인터넷 임시파일", 32}, {L"인터넷 쿠키", 33},
    {L"열어본 페이지 목록", 34}, {L"내 컴퓨터", 17},     {L"내 문서", 5},        {L"내 음악", 13},
    {L"내 네트워크 공유", 19}, {L"내 사진", 39},        {L"내 비디오", 14},     {L"네트워크목록", 18},
    {L"프린터", 4},           {L"내 계정", 40},         {L"최근 문서", 8},      {L"휴지통", 10},
    {L"시작프로그램", 7},     {L"시스템 폴더", 37},
}};

// The Root for a selector index; nothing outside 0..21 (no selection is -1).
std::optional<std::int32_t> RootForIndex(int index);

}  // namespace pravik::core::menu
