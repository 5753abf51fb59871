// The settings panel: the group "校准设置：" and the button "保存设置".
#pragma once

#include "time/program.h"

// The selection rule of 组合框1: above the last item selects the last one,
// -1 or below selects nothing.
int ListSelectionFor(int32_t index, int itemCount);

void FillSettingsPanel(Program& program);
// Click on 选择框1.
void OnAutoCheckClick(Program& program);
// Click on 按钮1.
void OnSaveSettings(Program& program);
