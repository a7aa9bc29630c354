#include "framework/reports.h"

#include "framework/backend.h"

void fw_report_answer(const FwAnswer& answer) {
    fw_backend().reportAnswer(answer);
}
