# Shared by the scripts: where the builds live and how they are made.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PRODUCT_BUILD="$ROOT/build-i686"   # the product: 32-bit Project1.exe
TEST_BUILD="$ROOT/build-x64"       # the same sources, 64-bit, with the tests
JOBS="$(nproc 2>/dev/null || echo 2)"

build_product() {
  cmake -S "$ROOT" -B "$PRODUCT_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686-w64-mingw32.cmake" \
    -DQRT_TESTS=OFF >/dev/null
  cmake --build "$PRODUCT_BUILD" -j"$JOBS"
}

build_tests() {
  cmake -S "$ROOT" -B "$TEST_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake" \
    -DQRT_PRODUCT_EXE="$PRODUCT_BUILD/src/Project1.exe" >/dev/null
  cmake --build "$TEST_BUILD" -j"$JOBS"
}
