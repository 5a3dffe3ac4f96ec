# What every benchmark script starts from: Varrow and the stand-in Claude of one build folder
# ($build, set by the script from its first argument), and the end-to-end tests' helpers.
export VARROW_BIN="$build/src/varrow" VARROW_STANDIN_BUNDLE="$build/standin/Claude.app"
export VARROW_STANDIN_PACKAGE="$build/standin/package" VARROW_BUILD_DIR="$build"
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/e2e/lib/common.bash"
