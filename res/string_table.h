// The program's string table, UTF-8. LoadResString returns "" for an id that
// has no entry.
#pragma once

const char* LoadResString(int id);

// Texts used in more than one place.
namespace vek::text {
// Caption of every message box and the frame title.
inline constexpr const char* kAppTitle = "Vek";
// Shown when a close is requested while the relaxation runs.
inline constexpr const char* kBusyClosing = "計算中です";
// Follows kBusyClosing on its own line: what to do instead.
inline constexpr const char* kBusyClosingHint = "「計算」メニューの「中断」で計算を止めてから閉じてください。";
// Filter of the position data file dialogs (display text, pattern pairs).
inline constexpr const char* kPointsFileFilter = "txtファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*||";
inline constexpr const char* kPointsFileExtension = "txt";
// Titles of the open and save dialogs of the position data file.
inline constexpr const char* kOpenDialogTitle = "開く";
inline constexpr const char* kSaveDialogTitle = "名前を付けて保存";
// The question before a save replaces a file (%s: the file's name).
inline constexpr const char* kReplaceQuestion = "%s は既に存在します。\n上書きしますか?";
// A loaded file holds more points than a run may (%llu: its points, %d:
// the limit); the curve is left as it was.
inline constexpr const char* kLoadTooManyPoints =
    "このファイルの点の数（%llu 点）が上限（%d 点）を超えるため、読み込みませんでした。";
// Storage ran out while the tube was rebuilt after a settings change, or
// while the tube's drawing was prepared; the points are unchanged.
inline constexpr const char* kTubeOutOfMemory = "メモリが足りないため、管を作れませんでした。点はそのままです。";
inline constexpr const char* kDrawOutOfMemoryStopped =
    "メモリが足りないため、管を表示できず、計算を中断しました。点はそのままです。";
// A run's resampling would have left fewer than %d points of the curve (the
// precision is too low to hold it up); the run stopped with the points kept.
inline constexpr const char* kRunTooFewPoints =
    "点の数が %d 点より少なくなるため、計算を中断しました。点はそのままです。\n精度を大きくしてください。";
// Start with nothing to relax: no points, or a curve that resamples to none.
inline constexpr const char* kRunNoCurve =
    "計算する曲線がありません（点がないか、曲線が短すぎます）。\nスケッチに点を打ってから開始してください。";
// A precision so low that strands could pass through each other (%g: the
// precision, %g: the lowest allowed), refused before the run starts or at
// the resampling of a run whose precision was lowered; the points are those
// of the last complete block.
inline constexpr const char* kRunTooCoarseNotStarted =
    "精度 %g では点の間隔が粗く、管が自分自身を通り抜けてしまうため、計算を始めませんでした。点はそのままです。\n"
    "精度を %g 以上にしてください。";
inline constexpr const char* kRunTooCoarseStopped =
    "精度 %g では点の間隔が粗く、管が自分自身を通り抜けてしまうため、計算を中断しました。点はそのままです。\n"
    "精度を %g 以上にしてください。";
// Start refuses a curve that would come too near the point limit (%g: the
// precision, %d: the limit), since the curve grows during the run.
inline constexpr const char* kRunTooManyPointsNotStarted =
    "精度 %g ではこの曲線の点の数が上限（%d 点）に近すぎるため、計算を始めませんでした"
    "（計算中に曲線は伸びます）。点はそのままです。\n精度を小さくしてください。";
// The last resort: a failure that no command handled (%s: what it was).
inline constexpr const char* kUnexpectedFailure =
    "予期しないエラーが起きました（%s）。\n点を保存してから、プログラムを終了してください。";
// Why a file that was read is not loaded: it held no points (empty, or not
// a position data file), or fewer than a closed curve needs (%d: the points
// read, %d: the fewest loaded). Shown as the reason of kLoadPointsFailed.
inline constexpr const char* kLoadNoPoints =
    "点が読み取れませんでした（空のファイルか、位置データではないファイルです）。スケッチはそのままです。";
inline constexpr const char* kLoadTooFewPoints =
    "読み取れた点は %d 点だけです（閉じた曲線には %d 点以上が必要です）。スケッチはそのままです。";
// A position data file could not be read or written (%s: the file's name,
// %s: why); the curve is left as it was.
inline constexpr const char* kLoadPointsFailed = "位置データを読み込めませんでした。\n%s\n%s";
inline constexpr const char* kSavePointsFailed = "位置データを保存できませんでした。\n%s\n%s";
// Storage ran out while a clicked point was added.
inline constexpr const char* kAddPointOutOfMemory = "メモリが足りないため、点を追加できませんでした。";
// A run's resampling would have given more points than a run may (%d: the
// limit).
inline constexpr const char* kRunTooManyPoints =
    "点の数が上限（%d 点）を超えるため、計算を中断しました。\n精度を小さくしてください。";
// A run stopped because storage ran out, or because its arrays would have
// outgrown what the library can hold.
inline constexpr const char* kRunOutOfMemory = "メモリが足りないため、計算を中断しました。";
inline constexpr const char* kRunTooLong = "点の数が多すぎるため、計算を中断しました。";
// Refusals of the precision dialog: a value that is not a finite number, and
// one that would give too many points (%lld: the points it would give, %d:
// the limit).
inline constexpr const char* kPrecisionNotFinite = "精度には有限の数を入力してください。";
inline constexpr const char* kPrecisionTooManyPoints =
    "この精度では点の数が多すぎます（%lld 点、上限 %d 点）。\nもっと小さい値を入力してください。";
// The same when the count is too large to be counted (%d: the limit).
inline constexpr const char* kPrecisionFarTooManyPoints =
    "この精度では点の数が多すぎます（上限 %d 点をはるかに超えます）。\nもっと小さい値を入力してください。";
// Refusal of a tube radius factor; the bounds are those of kMaxTubeScale.
inline constexpr const char* kTubeScaleOutOfRange = "太さには -1000000 から 1000000 までの数を入力してください。";
// Refusal of the thickness dialog; the bounds are kMinViewTubeScale and
// kMaxViewTubeScale (dialogs/value_bounds.h).
inline constexpr const char* kViewTubeScaleOutOfRange =
    "太さには絶対値が 0.1 から 50 までの数を入力してください。\n"
    "（0 に近いと管が細すぎて見えず、50 を超えると管が画面を覆います。）";
// The status bar under the view, one field each: the knot's name (%s: the
// name, or the names the invariants cannot tell apart, joined by " / "),
// the certified ropelength (length / (2 * certified thickness)), the length
// / nominal thickness, the points and the iterations done; "-" where a
// figure does not exist (no curve, no certified thickness).
inline constexpr const char* kStatusKnot = "結び目: %s";
inline constexpr const char* kStatusRopelength = "ロープ長: %.4f";
inline constexpr const char* kStatusNominal = "長さ/太さ: %.4f";
inline constexpr const char* kStatusPoints = "点: %d";
inline constexpr const char* kStatusIterations = "反復: %lld";
inline constexpr const char* kStatusNone = "-";
inline constexpr const char* kStatusNoRopelength = "ロープ長: -";
inline constexpr const char* kStatusNoNominal = "長さ/太さ: -";
// Shown in the iterations field while the ideal shape is made (%d: the
// level; the ropelength field shows the certified ropelength reached).
inline constexpr const char* kStatusIdealProgress = "理想形: 段階 %d";
// The ideal shape could not be made (%s: why); the curve is unchanged.
inline constexpr const char* kIdealFailed = "理想形を作れませんでした。曲線はそのままです。\n%s";
// The knot table dialog: its title, the filter's label, the mirror check
// box, a group of the list (%d: the crossing number) and the refusal when
// no knot is chosen.
inline constexpr const char* kKnotTableTitle = "結び目表から開く";
inline constexpr const char* kKnotTableFilter = "名前:";
inline constexpr const char* kKnotTableMirror = "鏡像";
inline constexpr const char* kKnotTableGroup = "交点数 %d";
inline constexpr const char* kKnotTableFailed = "結び目 %s の曲線を作れませんでした。\n%s";
// The picture and shape files: dialog filters, titles and failures (%s: the
// file's name, %s: why).
inline constexpr const char* kPictureFileFilter = "PNGファイル(*.png)|*.png||";
inline constexpr const char* kPictureFileExtension = "png";
inline constexpr const char* kPictureSaveTitle = "画像保存";
inline constexpr const char* kPictureSaveFailed = "画像を保存できませんでした。\n%s\n%s";
inline constexpr const char* kPictureNoView = "画面を読み取れませんでした";
// The picture size dialog's refusal of a side that is not a whole number of
// pixels in range (%d, %d: the least and the most).
inline constexpr const char* kPictureSideOutOfRange = "幅と高さには %d から %d までの整数を入力してください。";
inline constexpr const char* kShapeFileFilter =
    "STLファイル(*.stl)|*.stl|OBJファイル(*.obj)|*.obj|PLYファイル(*.ply)|*.ply||";
inline constexpr const char* kShapeFileExtension = "stl";
inline constexpr const char* kShapeSaveTitle = "形状保存";
inline constexpr const char* kShapeSaveFailed = "形状を保存できませんでした。\n%s\n%s";
// The program could not make its OpenGL view and does not start.
inline constexpr const char* kNoOpenGLView = "Vek could not create its OpenGL view.";
inline constexpr const char* kOutOfMemory = "メモリが足りません";
// Registry-style settings location; nothing is read or written there.
inline constexpr const char* kSettingsVendor = "Local AppWizard-Generated Applications";
}  // namespace vek::text
