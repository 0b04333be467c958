-- Neovim's built-in LSP client on a Visual Basic module: the vb filetype starts `kemptor-cli lsp`, the
-- buffer is formatted through the server and written. Run by neovim_e2e.sh; works with Neovim 0.7 and
-- later. Any failure ends Neovim with a non-zero status and says why on stderr.
local cli = os.getenv("KEMPTOR_CLI")

local function fail(message)
  io.stderr:write("neovim_e2e: " .. message .. "\n")
  vim.cmd("cquit 3")
end

-- The four kinds of source file are Visual Basic, whatever Neovim's own detection guesses.
vim.cmd([[autocmd BufRead,BufNewFile *.bas,*.cls,*.frm,*.ctl set filetype=vb]])

local client_id
vim.api.nvim_create_autocmd("FileType", {
  pattern = "vb",
  callback = function(args)
    client_id = client_id or vim.lsp.start_client({
      name = "kemptor",
      cmd = { cli, "lsp", "--no-config" },
      root_dir = vim.fn.getcwd(),
    })
    vim.lsp.buf_attach_client(args.buf, client_id)
  end,
})

vim.api.nvim_create_autocmd("VimEnter", {
  callback = function()
    if not client_id then
      return fail("the buffer did not get the vb filetype")
    end
    local ready = vim.wait(30000, function()
      local client = vim.lsp.get_client_by_id(client_id)
      return client ~= nil and client.initialized == true
    end, 50)
    if not ready then
      return fail("the language server did not initialize")
    end
    if vim.lsp.buf.format then
      vim.lsp.buf.format({ timeout_ms = 30000 })
    else
      vim.lsp.buf.formatting_sync(nil, 30000)
    end
    vim.cmd("write")
    vim.cmd("qall!")
  end,
})
