#!/usr/bin/env bash
# Builds the product and the test build, then runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$ROOT/scripts/install-deps.sh"
build_product
build_tests
cd "$TEST_BUILD"
ctest --output-on-failure "$@"
