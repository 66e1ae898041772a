#pragma once
// The fifteen extraction option values, in the order of the unzip layer's option record.
namespace pravik::updater {

struct UnzipOptions {
  int extractOnlyNewer = 0;
  int spaceToUnderscore = 0;
  int promptToOverwrite = 0;
  int quietLevel = 2;
  int writeToStdout = 0;
  int testOnly = 0;
  int listOnly = 0;
  int freshenOnly = 0;
  int displayComment = 0;
  int recreateFolders = 1;  // 1: stored folders are recreated, safely below the target
  int overwriteAll = 1;
  int translateLineEnds = 0;
  int listInfo = 0;
  int caseInsensitive = 1;
  int restoreAcl = 0;
};

}  // namespace pravik::updater
