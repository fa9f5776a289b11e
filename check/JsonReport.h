// The check's answer as one JSON object, for a program to read (device management keeps the first
// 2,048 characters of a script's output): the status, the verdict, and the findings with what
// decides first.
#pragma once

#include "HeapString.h"
#include "Judgement.h"

// {"status": n, "verdict": "...", "findings": [{"mark": "ok|note|?|STOP", "about": "...", "text":
// "...", "page": "..."}]}, the findings ordered STOP, a ? that decides, another ?, note, ok, each
// kind in the order checked.
void AppendJson(const CFindings& findings, unsigned status, CHeapString& json);
