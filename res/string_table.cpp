#include "res/string_table.h"

#include "res/resource_ids.h"

const char* LoadResString(int id)
{
    switch (id) {
    case IDS_FRAME_TITLE:
        return "Vek";
    case AFX_IDS_APP_TITLE:
        return "Vek";
    case IDS_CALC_START_PROMPT:
        return "計算開始\n計算開始";
    case AFX_IDP_PARSE_REAL:
        return "数字を入力してください。";
    default:
        return "";
    }
}
