# Shortcuts for the README's two commands; everything lives in scripts/.
.PHONY: demo test
demo:
	scripts/demo.sh
test:
	scripts/test.sh
